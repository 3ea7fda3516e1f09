#pragma once

// A stimulation protocol as the workstation's protocol file (*.prt, text), as its own files lay
// it out: the header lines, then per condition its name, interval count, intervals (with their
// parametric weights in version 3) and colour.

#include <string>

#include "formats/Protocol.h"

namespace bids {

// The whole text, line ends '\n' (written in text mode).
std::string protocolText(const formats::Protocol& protocol);

}  // namespace bids
