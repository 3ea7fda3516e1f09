#pragma once

#include <string_view>

namespace batch {

// The kind of a file-list entry. The batch run stores and compares the numbers themselves.
enum FileKind : int {
    Unrecognised = 0,
    Protocol = 1,         // ".prt"
    TimeCourse = 2,       // ".vtc"
    MotionEstimates = 3,  // "_3DMC"
    HeartRate = 4,        // "_HR"
    Respiration = 5,      // "_RVT"
};

// The kind selected by the first fragment, in the order above, found anywhere in the entry's file
// name (text::fileNameOf: after its last '/' or '\'; case-sensitive; its folders never count).
FileKind classifyListEntry(std::string_view entry);

}  // namespace batch
