#include "batch/FileKind.h"

#include "designmatrix/ConfoundKinds.h"

namespace batch {

FileKind classifyListEntry(std::string_view entry) {
    if (entry.find(".prt") != std::string_view::npos) {
        return Protocol;
    }
    if (entry.find(".vtc") != std::string_view::npos) {
        return TimeCourse;
    }
    for (const designmatrix::ConfoundKindRow& kind : designmatrix::confoundKinds()) {
        if (entry.find(kind.mark) != std::string_view::npos) {
            return static_cast<FileKind>(kind.listKind);
        }
    }
    return Unrecognised;
}

}  // namespace batch
