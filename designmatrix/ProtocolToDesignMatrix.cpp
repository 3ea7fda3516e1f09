#include "designmatrix/ProtocolToDesignMatrix.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "abi/HostRecords.h"
#include "designmatrix/ColourComponents.h"
#include "host/HostOperations.h"
#include "paths/PathOperations.h"

namespace designmatrix {

namespace {

// The text of a fixed record field: up to its NUL, or the whole field when the host left none.
template <std::size_t Width>
std::string fieldText(const char (&field)[Width]) {
    return std::string(field, std::find(field, field + Width, '\0'));
}

std::string protocolDump(const host::ProtocolRecord& protocol) {
    std::string dump;
    dump += text::formatText("Protocol file name: %s\n", fieldText(protocol.fileName).c_str());
    dump += text::formatText("Experiment name: %s\n", fieldText(protocol.experimentName).c_str());
    dump += text::formatText("Number of conditions: %d\n", protocol.nrOfConditions);
    dump +=
        text::formatText("Time resolution: %s\n", protocol.timeResolution == 1 ? "volume" : "msec");
    dump += "Background color components: " + colorComponents(protocol.backgroundColor) + "\n";
    dump += "Reference time course color components: " +
            colorComponents(protocol.referenceTimeCourseColor) + "\n";
    dump += text::formatText("Reference time course pen thickness: %d\n",
                             protocol.referenceTimeCoursePenThickness);
    dump += "Text color components: " + colorComponents(protocol.textColor) + "\n";
    dump += "Time course color components: " + colorComponents(protocol.timeCourseColor) + "\n";
    dump += text::formatText("Time course pen thickness: %d\n", protocol.timeCoursePenThickness);
    return dump;
}

std::string conditionDump(int number, const host::ProtocolConditionRecord& condition) {
    std::string dump = text::formatText("\nProtocol condition number: %d\n", number);
    dump += text::formatText("Condition name: %s\n", fieldText(condition.name).c_str());
    dump += text::formatText("Number of intervals: %d\n", condition.nrOfIntervals);
    // The interval arrays are the host's; a record that points at none lists no interval.
    if (condition.intervalStarts != nullptr && condition.intervalEnds != nullptr) {
        for (int k = 0; k < condition.nrOfIntervals; ++k) {
            const auto at = static_cast<std::size_t>(k);
            dump += text::formatText("Interval nr %d: From: %d to %d\n", k + 1,
                                     condition.intervalStarts[at], condition.intervalEnds[at]);
        }
    }
    dump += colorComponents(condition.color) + "\n";
    return dump;
}

}  // namespace

std::string designMatrixPath(const std::string& protocolFile, const std::string& vtcPath) {
    std::string path;
    if (!vtcPath.empty()) {
        const std::string name =
            paths::extractFileName(protocolFile.c_str(), true, false).value_or(std::string());
        path = paths::stripExtension(paths::appendNameToStem(vtcPath, name, '_').c_str());
    } else {
        path = paths::stripExtension(protocolFile.c_str());
    }
    return path + ".sdm";
}

namespace {

// Sets the first nrOfDataPoints values of the constant predictor, the c-th, to 1.
void fillConstant(int c, int nrOfDataPoints) {
    if (c < 0) {
        host::logFormat("Constant predictor not filled: its index %d is below 0.", c);
        return;
    }
    float* values = host::getPredictor(c);
    if (values == nullptr) {
        host::logFormat("Constant predictor not filled: the host delivered no predictor number %d.",
                        c + 1);
        return;
    }
    for (int i = 0; i < nrOfDataPoints; ++i) {
        values[static_cast<std::size_t>(i)] = 1.0f;
    }
}

}  // namespace

bool buildDesignMatrixFromProtocol(int hrfKind, bool logProtocol, float predictorValue,
                                   bool skipFirstCondition, bool addConstant, int nrOfDataPoints,
                                   std::optional<std::string>& sdmPathOut,
                                   const std::string& vtcPath) {
    host::ProtocolRecord protocol{};
    if (host::getProtocol(protocol) != 1) {
        host::logText(
            "The stimulation protocol could not be retrieved.\nPlease load a protocol first.");
        return false;
    }
    if (logProtocol) {
        host::logText(protocolDump(protocol));
    }
    // The design matrix is named after the protocol's file: a path that fills its field may have
    // been cut by the host, and the name would then come from the wrong text.
    if (fieldText(protocol.fileName).size() >= sizeof protocol.fileName - 1) {
        host::logFormat(
            "The protocol's path fills the host's field of %zu characters and may be cut: no "
            "design matrix is made from it.",
            sizeof protocol.fileName - 1);
        return false;
    }

    const int nrOfConditions = protocol.nrOfConditions;
    const auto count = static_cast<std::size_t>(std::max(nrOfConditions, 0));
    std::vector<host::ProtocolConditionRecord> conditions(count);
    std::vector<bool> delivered(count, false);
    host::logText("Reading protocol conditions...");
    std::string dump = "Conditions:\n";
    for (std::size_t i = 0; i < count; ++i) {
        const int index = static_cast<int>(i);
        delivered[i] = host::getProtocolCondition(index, conditions[i]) != 0;
        if (delivered[i]) {
            dump += conditionDump(index + 1, conditions[i]);
        }
    }
    if (logProtocol) {
        host::logText(dump);
    }

    host::clearDesignMatrix();
    const bool twoGamma = hrfKind == 1;
    host::logFormat("Applying %s with predictor value: %f...",
                    twoGamma ? "2-gamma HRF" : "Boynton HRF", static_cast<double>(predictorValue));
    const int first = skipFirstCondition ? 1 : 0;
    // A condition the host did not deliver has no name: it gets no predictor, and the constant
    // moves up by one so that its index still follows the condition predictors.
    int leftOut = 0;
    for (int i = first; i < nrOfConditions; ++i) {
        const auto at = static_cast<std::size_t>(i);
        if (!delivered[at]) {
            host::logFormat(
                "Condition number %d was not delivered by the host: no predictor made for it.",
                i + 1);
            ++leftOut;
            continue;
        }
        const std::string name = fieldText(conditions[at].name);
        host::addPredictor(name.c_str());
        host::setPredictorValuesFromConditionName(name.c_str(), name.c_str(), predictorValue);
        if (twoGamma) {
            host::applyTwoGammaHRFToPredictorWithName(name.c_str());
        } else {
            host::applyBoyntonHRFToPredictorWithName(name.c_str());
        }
    }

    if (addConstant) {
        host::logText("Adding constant predictor...");
        host::addPredictor("Constant");
        const int c = nrOfConditions - first - leftOut;
        host::logFormat("Try to fill predictor number %d (constant).", c + 1);
        fillConstant(c, nrOfDataPoints);
    }

    const std::string path = designMatrixPath(fieldText(protocol.fileName), vtcPath);
    const bool saved = host::saveSingleStudyGLMDesignMatrix(path.c_str()) != 0;
    host::logText(saved ? "Saving of design matrix succeeded."
                        : "Saving of design matrix did not succeed.");
    sdmPathOut = path;
    return saved;
}

}  // namespace designmatrix
