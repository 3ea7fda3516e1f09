#pragma once

// Which protocol file the host will use for a pair: the plug-in hands the host only the file
// name of the protocol the list names, and the host looks for that name beside the time course,
// then beside the volume document.

#include <optional>
#include <string>
#include <vector>

namespace headless {

struct ProtocolPlace {
    std::optional<std::string> path;  // absolute; none when no folder holds the name
    std::string where;                // "beside the time course", "beside the volume document"
    std::vector<std::string> tried;   // every path looked at, in order
};

// Where the host will find the protocol the list names as `listed`, for the time course at
// `timeCourse` and the volume document at `volumeDocument`; touches no file but to look.
ProtocolPlace findListedProtocol(const std::string& listed, const std::string& timeCourse,
                                 const std::string& volumeDocument);

// Why the pair fails when the host uses another protocol than the one the list names: neither
// that file nor one of the same bytes (a listed file that does not exist included); none when
// it uses that protocol.
std::optional<std::string> protocolMismatch(const std::string& listed, const std::string& used);

}  // namespace headless
