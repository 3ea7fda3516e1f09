#pragma once

// What a protocol holds that its design matrix will not show: events past the end of the run,
// and parametric weights, which the host's predictors do not model.

#include <string>
#include <vector>

#include "formats/Protocol.h"

namespace headless {

// One line per warning for a run of `volumes` volumes at `repetitionTimeMs`; empty when there is
// nothing to say. The lines name no file: the caller says which protocol they are about.
std::vector<std::string> protocolWarnings(const formats::Protocol& protocol, int volumes,
                                          double repetitionTimeMs);

}  // namespace headless
