#pragma once

// Reader of stimulation protocol files (*.prt, text). Header lines "Key: value" (keys without
// case, CR LF, LF or a lone CR, blank lines anywhere) up to NrOfConditions; then per condition its
// name line, its interval count, that many intervals (start, end, then the parametric weights) and
// "Color: r g b".

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/Protocol.h"

namespace formats {

struct ProtocolRead {
    std::optional<Protocol> protocol;
    int errorLine = 0;               // 1-based line of the fault when there is no protocol
    std::string error;               // "line N: what is wrong"
    std::vector<std::string> notes;  // harmless oddities, such as unknown header keys
};

// Parses protocol text. The protocol's fileName is left empty.
ProtocolRead parseProtocol(std::string_view text);

// Reads and parses the file at path; the protocol's fileName is the path as given.
ProtocolRead readProtocolFile(const std::string& path);

}  // namespace formats
