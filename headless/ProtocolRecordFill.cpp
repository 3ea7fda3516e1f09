#include "headless/ProtocolRecordFill.h"

#include <algorithm>
#include <cstring>

namespace headless {

namespace {

void fillField(char* field, std::size_t size, std::string_view text, const char* what,
               std::vector<std::string>& notes) {
    if (copyIntoField(field, size, text)) {
        notes.push_back(std::string(what) + " has " + std::to_string(text.size()) +
                        " characters; the record holds its first " + std::to_string(size - 1));
    }
}

}  // namespace

bool copyIntoField(char* field, std::size_t size, std::string_view text) {
    const std::size_t length = std::min(text.size(), size - 1);
    std::memcpy(field, text.data(), length);
    std::memset(field + length, 0, size - length);
    return length < text.size();
}

void fillProtocolRecord(const formats::Protocol& protocol, host::ProtocolRecord& record,
                        std::vector<std::string>& notes) {
    std::memset(&record, 0, sizeof record);
    record.nrOfConditions = static_cast<std::int32_t>(protocol.conditions.size());
    fillField(record.fileName, sizeof record.fileName, protocol.fileName,
              "the protocol's file name", notes);
    fillField(record.experimentName, sizeof record.experimentName, protocol.experimentName,
              "the protocol's experiment name", notes);
    record.timeResolution = static_cast<std::int32_t>(protocol.resolution);
    record.backgroundColor = protocol.backgroundColor;
    record.textColor = protocol.textColor;
    record.timeCourseColor = protocol.timeCourseColor;
    record.timeCoursePenThickness = protocol.timeCourseThick;
    record.referenceTimeCourseColor = protocol.referenceFuncColor;
    record.referenceTimeCoursePenThickness = protocol.referenceFuncThick;
}

void fillConditionRecord(formats::ProtocolCondition& condition,
                         host::ProtocolConditionRecord& record, std::vector<std::string>& notes) {
    std::memset(&record, 0, sizeof record);
    fillField(record.name, sizeof record.name, condition.name,
              ("the name of condition '" + condition.name + "'").c_str(), notes);
    record.nrOfIntervals = static_cast<std::int32_t>(condition.starts.size());
    record.intervalStarts = condition.starts.data();
    record.intervalEnds = condition.ends.data();
    record.color = condition.color;
}

std::string recordedConditionName(const formats::ProtocolCondition& condition) {
    return condition.name.substr(
        0, std::min(condition.name.size(), sizeof(host::ProtocolConditionRecord::name) - 1));
}

}  // namespace headless
