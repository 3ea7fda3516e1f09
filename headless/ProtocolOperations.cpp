// The host's current protocol, handed out in the records the plug-in provides.

#include <string>
#include <vector>

#include "headless/HostExports.h"
#include "headless/HostSession.h"
#include "headless/ProtocolRecordFill.h"

using headless::hostSession;

extern "C" {

int tkClearProtocol(bool /*flag*/) {
    hostSession().protocol.reset();
    return 1;
}

int tkGetProtocol(host::ProtocolRecord* protocol) {
    auto& session = hostSession();
    if (!session.protocol) {
        session.refuse("no protocol to give: there is no current protocol");
        return 0;
    }
    if (protocol == nullptr) {
        return 0;
    }
    std::vector<std::string> notes;
    headless::fillProtocolRecord(*session.protocol, *protocol, notes);
    for (const auto& note : notes) {
        session.console.note(note);
    }
    return 1;
}

int tkGetProtocolCondition(int index, host::ProtocolConditionRecord* condition) {
    auto& session = hostSession();
    if (!session.protocol || index < 0 ||
        static_cast<std::size_t>(index) >= session.protocol->conditions.size()) {
        session.console.note("no protocol condition at index " + std::to_string(index));
        return 0;
    }
    if (condition == nullptr) {
        return 0;
    }
    std::vector<std::string> notes;
    headless::fillConditionRecord(session.protocol->conditions[static_cast<std::size_t>(index)],
                                  *condition, notes);
    for (const auto& note : notes) {
        session.console.note(note);
    }
    return 1;
}
}
