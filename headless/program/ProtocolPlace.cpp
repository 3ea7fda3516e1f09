#include "headless/program/ProtocolPlace.h"

#include <algorithm>

#include "abi/HostRecords.h"
#include "headless/ProtocolLookup.h"
#include "paths/PathOperations.h"
#include "paths/SameFile.h"

namespace headless {

ProtocolPlace findListedProtocol(const std::string& listed, const std::string& timeCourse,
                                 const std::string& volumeDocument) {
    // As the plug-in names it in the time course's header: the file name, cut to the field.
    std::string name = paths::extractFileName(listed.c_str(), false, false).value_or("");
    name.resize(std::min(name.size(), host::kMaxLinkedProtocolNameLength));
    ProtocolPlace place;
    const auto found =
        findProtocolFile(name, folderOf(timeCourse), folderOf(volumeDocument), place.tried);
    if (found) {
        place.path = found->path.string();
        place.where = found->where;
    }
    return place;
}

std::optional<std::string> protocolElsewhere(const std::string& listed, const std::string& used,
                                             std::string_view where) {
    if (paths::isSameFile(listed, used)) {
        return std::nullopt;
    }
    return "the list names " + listed + ", but the host uses " + used + ", found " +
           std::string(where) +
           " (the host finds a protocol by its file name alone: beside the time course, then "
           "beside the volume document)";
}

}  // namespace headless
