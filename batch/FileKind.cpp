#include "batch/FileKind.h"

#include "designmatrix/ConfoundKinds.h"

#include "text/FileName.h"

namespace batch {

FileKind classifyListEntry(std::string_view entry) {
    const std::string_view name = text::fileNameOf(entry);
    if (name.find(".prt") != std::string_view::npos) {
        return Protocol;
    }
    if (name.find(".vtc") != std::string_view::npos) {
        return TimeCourse;
    }
    for (const designmatrix::ConfoundKindRow& kind : designmatrix::confoundKinds()) {
        if (name.find(kind.mark) != std::string_view::npos) {
            return static_cast<FileKind>(kind.listKind);
        }
    }
    return Unrecognised;
}

}  // namespace batch
