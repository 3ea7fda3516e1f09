#include "headless/program/ProtocolPlace.h"

#include <algorithm>
#include <fstream>
#include <iterator>

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

std::optional<std::string> protocolMismatch(const std::string& listed, const std::string& used) {
    if (paths::isSameFile(listed, used)) {
        return std::nullopt;
    }
    const auto bytesOf = [](const std::string& path) -> std::optional<std::string> {
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            return std::nullopt;
        }
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    const auto listedBytes = bytesOf(listed);
    if (listedBytes && listedBytes == bytesOf(used)) {
        return std::nullopt;
    }
    return "the host used " + used + ", not " + listed + " that the list names";
}

}  // namespace headless
