#include "headless/ProtocolWarnings.h"

#include <cstdio>
#include <unordered_map>

#include "headless/ProtocolRecordFill.h"

namespace headless {

namespace {

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

// The end of an interval on the run's clock, in milliseconds: a volume interval ends with its
// last volume, a millisecond interval where it says.
double intervalEndMs(const formats::Protocol& protocol, std::int32_t end, double repetitionTimeMs) {
    return protocol.resolution == formats::TimeResolution::Volumes ? end * repetitionTimeMs : end;
}

}  // namespace

std::vector<std::string> protocolWarnings(const formats::Protocol& protocol, int volumes,
                                          double repetitionTimeMs) {
    std::vector<std::string> warnings;
    const double runEndMs = volumes * repetitionTimeMs;
    std::size_t intervals = 0;
    std::size_t past = 0;
    std::string first;
    for (const formats::ProtocolCondition& condition : protocol.conditions) {
        for (std::size_t i = 0; i < condition.ends.size(); ++i) {
            ++intervals;
            if (intervalEndMs(protocol, condition.ends[i], repetitionTimeMs) <= runEndMs) {
                continue;
            }
            if (past++ == 0) {
                first = "the first is interval " + std::to_string(i + 1) + " of \"" +
                        condition.name + "\", " + std::to_string(condition.starts[i]) + " to " +
                        std::to_string(condition.ends[i]);
            }
        }
    }
    if (past > 0) {
        const bool inVolumes = protocol.resolution == formats::TimeResolution::Volumes;
        warnings.push_back(
            std::to_string(past) + " of " + std::to_string(intervals) +
            " intervals end after the run's last volume (the run has " + std::to_string(volumes) +
            " volumes, " + number(runEndMs) + " ms; the protocol counts in " +
            (inVolumes ? "volumes" : "milliseconds") + "): the design matrix holds only what " +
            "falls inside the run; " + first);
    }
    if (protocol.parametricWeights > 0) {
        warnings.push_back(
            "it gives " + std::to_string(protocol.parametricWeights) +
            " parametric weight(s) per interval, which the design matrix does not model: every "
            "event of a condition gets the same predictor value");
    }
    return warnings;
}

std::optional<std::string> conditionsSharingAName(const formats::Protocol& protocol,
                                                  const std::string& path) {
    std::unordered_map<std::string, std::size_t> first;
    for (std::size_t i = 0; i < protocol.conditions.size(); ++i) {
        const std::string name = recordedConditionName(protocol.conditions[i]);
        const auto [at, isNew] = first.try_emplace(name, i);
        if (!isNew) {
            return "conditions " + std::to_string(at->second + 1) + " and " +
                   std::to_string(i + 1) + " of " + path + " share the name " + name;
        }
    }
    return std::nullopt;
}

}  // namespace headless
