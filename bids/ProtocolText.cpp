#include "bids/ProtocolText.h"

#include <charconv>
#include <cstdio>

namespace bids {

namespace {

void appendLine(std::string& text, const char* key, const std::string& value) {
    char head[32];
    std::snprintf(head, sizeof head, "%-20s", key);
    text += head;
    text += value;
    text += '\n';
}

std::string colorText(std::int32_t color) {
    return std::to_string((color >> 16) & 0xFF) + " " + std::to_string((color >> 8) & 0xFF) + " " +
           std::to_string(color & 0xFF);
}

// The shortest text that reads back as the same weight.
std::string weightText(double weight) {
    char field[32];
    const auto result = std::to_chars(field, field + sizeof field, weight == 0.0 ? 0.0 : weight);
    return std::string(field, result.ptr);
}

}  // namespace

std::string protocolText(const formats::Protocol& protocol) {
    std::string text;
    appendLine(text, "FileVersion:", std::to_string(protocol.fileVersion));
    text += '\n';
    appendLine(text, "ResolutionOfTime:",
               protocol.resolution == formats::TimeResolution::Milliseconds ? "msec" : "Volumes");
    text += '\n';
    appendLine(text, "Experiment:", protocol.experimentName);
    text += '\n';
    appendLine(text, "BackgroundColor:", colorText(protocol.backgroundColor));
    appendLine(text, "TextColor:", colorText(protocol.textColor));
    appendLine(text, "TimeCourseColor:", colorText(protocol.timeCourseColor));
    appendLine(text, "TimeCourseThick:", std::to_string(protocol.timeCourseThick));
    appendLine(text, "ReferenceFuncColor:", colorText(protocol.referenceFuncColor));
    appendLine(text, "ReferenceFuncThick:", std::to_string(protocol.referenceFuncThick));
    text += '\n';
    const auto weights = static_cast<std::size_t>(protocol.parametricWeights);
    if (protocol.fileVersion >= 3) {
        appendLine(text, "ParametricWeights:", std::to_string(protocol.parametricWeights));
        text += '\n';
    }
    appendLine(text, "NrOfConditions:", std::to_string(protocol.conditions.size()));
    for (const auto& condition : protocol.conditions) {
        text += '\n';
        text += condition.name;
        text += '\n';
        text += std::to_string(condition.starts.size());
        text += '\n';
        for (std::size_t i = 0; i < condition.starts.size(); ++i) {
            char interval[48];
            std::snprintf(interval, sizeof interval, "%8d %8d",
                          static_cast<int>(condition.starts[i]),
                          static_cast<int>(condition.ends[i]));
            text += interval;
            for (std::size_t w = 0; w < weights; ++w) {
                text += ' ';
                text += weightText(condition.weights[i * weights + w]);
            }
            text += '\n';
        }
        text += "Color: " + colorText(condition.color) + '\n';
    }
    return text;
}

}  // namespace bids
