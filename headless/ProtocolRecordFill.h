#pragma once

// Fills the protocol records the plug-in reads from the host's current protocol. A text longer
// than its field is cut to the field, NUL included; it never spills into the next field.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "abi/HostRecords.h"
#include "formats/Protocol.h"

namespace headless {

// Copies text into a field of `size` bytes, NUL-terminated. True when it had to be cut.
bool copyIntoField(char* field, std::size_t size, std::string_view text);

// Fills every byte of the record. `notes` receives one line per text that was cut.
void fillProtocolRecord(const formats::Protocol& protocol, host::ProtocolRecord& record,
                        std::vector<std::string>& notes);

// Fills every byte of the record; the interval arrays point into the condition, which keeps
// them valid for as long as it lives unchanged.
void fillConditionRecord(formats::ProtocolCondition& condition,
                         host::ProtocolConditionRecord& record, std::vector<std::string>& notes);

// The condition's name as its record holds it (cut to the field).
std::string recordedConditionName(const formats::ProtocolCondition& condition);

}  // namespace headless
