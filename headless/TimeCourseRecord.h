#pragma once

// The time-course header record the host hands to the plug-in and takes back from it. The
// plug-in uses the number of volumes and the linked protocol's name; every other byte is the
// host's own and must come back unchanged.

#include <string>
#include <string_view>

#include "abi/HostRecords.h"
#include "formats/TimeCourse.h"

namespace headless {

// Fills the whole record: the host's own fields, the number of volumes and the protocol name,
// cut to 511 characters. True when the name had to be cut.
bool fillVtcHeaderRecord(const formats::TimeCourseHeader& header, std::string_view protocolName,
                         host::VtcHeaderRecord& record);

// The protocol name of a record handed back. Refused (false, with `error`) when the plug-in
// changed a byte that is not its name's, or left the name without its terminating NUL. Bytes of
// the name field after the NUL may be unchanged or zero.
bool protocolNameHandedBack(const host::VtcHeaderRecord& handedOut,
                            const host::VtcHeaderRecord& handedBack, std::string& name,
                            std::string& error);

}  // namespace headless
