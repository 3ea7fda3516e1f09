#include "headless/program/RunFiles.h"

namespace headless {

std::optional<std::string> runFileAt(const std::string& path, const ListRun* list,
                                     const std::optional<std::string>& volumeDocument,
                                     const std::string& plugin) {
    const SameFileAs same(path);
    if (volumeDocument && same(*volumeDocument)) {
        return "the volume document";
    }
    if (same(plugin)) {
        return "the plug-in";
    }
    if (list == nullptr) {
        return std::nullopt;
    }
    if (same(list->path)) {
        return "the file list";
    }
    const std::vector<std::string>& entries = list->plan.list.entries;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (same(entries[i])) {
            return "entry " + std::to_string(i + 1) + " of the file list";
        }
    }
    for (const batch::PlannedPair& pair : list->plan.pairs) {
        if (pair.timeCourse && (same(pair.base) || (!pair.merged.empty() && same(pair.merged)))) {
            return "a design matrix the run writes";
        }
    }
    return std::nullopt;
}

std::string refusal(std::string_view option, const std::string& path, const ListRun* list,
                    const std::optional<std::string>& volumeDocument, const std::string& plugin) {
    const auto clash = runFileAt(path, list, volumeDocument, plugin);
    if (!clash) {
        return {};
    }
    return std::string(option) + " " + path + " is " + *clash +
           ": it would be replaced, so nothing is run and nothing is written";
}

}  // namespace headless
