#include "batch/FileKind.h"

#include <array>
#include <utility>

namespace batch {

FileKind classifyListEntry(std::string_view entry) {
    static constexpr std::array<std::pair<std::string_view, FileKind>, 5> kFragments = {{
        {".prt", Protocol},
        {".vtc", TimeCourse},
        {"_3DMC", MotionEstimates},
        {"_HR", HeartRate},
        {"_RVT", Respiration},
    }};
    for (const auto& [fragment, kind] : kFragments) {
        if (entry.find(fragment) != std::string_view::npos) {
            return kind;
        }
    }
    return Unrecognised;
}

}  // namespace batch
