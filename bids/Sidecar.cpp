#include "bids/Sidecar.h"

#include <cmath>
#include <nlohmann/json.hpp>

#include "bids/InputError.h"
#include "bids/TsvTable.h"

namespace bids {

namespace {

// The document, its keys in the file's order.
nlohmann::ordered_json parseObject(const std::string& text, const std::string& path) {
    nlohmann::ordered_json document;
    try {
        // The library's text says where: "... at line 3, column 5: ..."; a number beyond the
        // double range is refused the same way. A byte-order mark is skipped by the parser.
        document = nlohmann::ordered_json::parse(text);
    } catch (const nlohmann::json::exception& error) {
        throw InputError(path + ": not valid JSON: " + error.what());
    }
    if (!document.is_object()) {
        throw InputError(path + ": a sidecar holds one JSON object, not " +
                         std::string(document.type_name()));
    }
    return document;
}

std::optional<std::string> noteOfText(const std::string& text, const std::string& path) {
    return readingNoteOf(path, text.starts_with("\xEF\xBB\xBF"),
                         text.find("\r\n") != std::string::npos);
}

std::optional<std::string> textField(const nlohmann::ordered_json& entry, const char* key) {
    const auto found = entry.find(key);
    if (found == entry.end() || !found->is_string()) {
        return std::nullopt;
    }
    return found->get<std::string>();
}

}  // namespace

SidecarTiming parseSidecarTiming(const std::string& text, const std::string& path) {
    const nlohmann::ordered_json document = parseObject(text, path);
    SidecarTiming timing;
    timing.readingNote = noteOfText(text, path);
    if (const auto found = document.find("RepetitionTime"); found != document.end()) {
        if (!found->is_number() || !std::isfinite(found->get<double>()) ||
            !(found->get<double>() > 0.0)) {
            throw InputError(path + ": RepetitionTime is " + found->dump() +
                             "; it must be a positive number of seconds");
        }
        timing.repetitionTime = found->get<double>();
    }
    if (const auto found = document.find("StartTime"); found != document.end()) {
        if (!found->is_number() || !std::isfinite(found->get<double>()) ||
            found->get<double>() < 0.0) {
            throw InputError(path + ": StartTime is " + found->dump() +
                             "; it must be a number of seconds from 0");
        }
        timing.startTime = found->get<double>();
    }
    return timing;
}

SidecarTiming sidecarTiming(const std::string& path) {
    return parseSidecarTiming(readWholeFile(path), path);
}

std::optional<double> parseSidecarRepetitionTime(const std::string& text, const std::string& path) {
    return parseSidecarTiming(text, path).repetitionTime;
}

std::optional<double> sidecarRepetitionTime(const std::string& path) {
    return sidecarTiming(path).repetitionTime;
}

std::vector<ComponentEntry> confoundComponents(const std::string& path,
                                               std::optional<std::string>& readingNote) {
    const std::string text = readWholeFile(path);
    const nlohmann::ordered_json document = parseObject(text, path);
    readingNote = noteOfText(text, path);
    std::vector<ComponentEntry> entries;
    for (const auto& [key, value] : document.items()) {
        if (!value.is_object()) {
            continue;
        }
        ComponentEntry entry;
        entry.column = key;
        entry.method = textField(value, "Method");
        entry.mask = textField(value, "Mask");
        if (const auto retained = value.find("Retained"); retained != value.end()) {
            entry.retained = !(retained->is_boolean() && !retained->get<bool>());
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

}  // namespace bids
