#pragma once

#include <string_view>

namespace batch {

// The kind of a file-list entry. The batch run stores and compares the numbers themselves.
enum FileKind : int {
    Unrecognised = 0,
    Protocol = 1,         // ".prt"
    TimeCourse = 2,       // ".vtc"
    MotionEstimates = 3,  // the confound kinds, by the marks of their table
    HeartRate = 4,
    Respiration = 5,
};

// The kind selected by the first fragment found anywhere in the entry's file name
// (text::fileNameOf: after its last '/' or '\'; case-sensitive; its folders never count):
// ".prt", ".vtc", then each confound kind's mark in table order.
FileKind classifyListEntry(std::string_view entry);

}  // namespace batch
