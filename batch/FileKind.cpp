#include "batch/FileKind.h"

#include <array>
#include <utility>

#include "text/FileName.h"

namespace batch {

FileKind classifyListEntry(std::string_view entry) {
    static constexpr std::array<std::pair<std::string_view, FileKind>, 5> kFragments = {{
        {".prt", Protocol},
        {".vtc", TimeCourse},
        {"_3DMC", MotionEstimates},
        {"_HR", HeartRate},
        {"_RVT", Respiration},
    }};
    const std::string_view name = text::fileNameOf(entry);
    for (const auto& [fragment, kind] : kFragments) {
        if (name.find(fragment) != std::string_view::npos) {
            return kind;
        }
    }
    return Unrecognised;
}

}  // namespace batch
