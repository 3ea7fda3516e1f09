#include "headless/program/ExitStatus.h"

#include "headless/HostSession.h"

namespace headless {

int usageError(const std::string& what) {
    Console& console = hostSession().console;
    console.show("sdmweaver: ", what);
    console.show("sdmweaver: ", "see sdmweaver --help");
    return kUsageError;
}

}  // namespace headless
