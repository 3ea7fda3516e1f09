#pragma once

// Protocols the scripted host serves in the batch-run tests.

#include <string>

#include "tests/batchrun/ScriptedHost.h"

namespace batchrun {

// Three conditions in volumes: Rest 1-2, Faces 3-4 (colour 0xFF8000), Houses 5 and 6.
inline ScriptedProtocol threeConditionProtocol(const std::string& fileName) {
    ScriptedProtocol p;
    p.fileName = fileName;
    p.experimentName = "Faces and houses";
    p.timeResolution = 1;
    p.backgroundColor = 0x000000;
    p.textColor = 0xFFFFFF;
    p.timeCourseColor = 0xFF8000;
    p.timeCoursePenThickness = 3;
    p.referenceTimeCourseColor = 0x00FF00;
    p.referenceTimeCoursePenThickness = 2;
    p.conditions = {{"Rest", {1}, {2}, 0x646464, true},
                    {"Faces", {3}, {4}, 0xFF8000, true},
                    {"Houses", {5, 6}, {5, 6}, 0x0080FF, true}};
    return p;
}

// Two conditions in milliseconds: Fixation and Task.
inline ScriptedProtocol msecProtocol(const std::string& fileName) {
    ScriptedProtocol p;
    p.fileName = fileName;
    p.experimentName = "Localiser";
    p.timeResolution = 2;
    p.backgroundColor = 0x102030;
    p.textColor = 0xC8C8C8;
    p.timeCourseColor = 0x0000FF;
    p.timeCoursePenThickness = 1;
    p.referenceTimeCourseColor = 0xFF0000;
    p.referenceTimeCoursePenThickness = 4;
    p.conditions = {{"Fixation", {0}, {3999}, 0x808080, true},
                    {"Task", {4000}, {7999}, 0xFF0000, true}};
    return p;
}

}  // namespace batchrun
