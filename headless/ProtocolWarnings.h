#pragma once

// What a protocol holds that its design matrix will not show: events past the end of the run,
// and parametric weights, which the host's predictors do not model.

#include <optional>
#include <string>
#include <vector>

#include "formats/Protocol.h"

namespace headless {

// One line per warning for a run of `volumes` volumes at `repetitionTimeMs`; empty when there is
// nothing to say. The lines name no file: the caller says which protocol they are about.
std::vector<std::string> protocolWarnings(const formats::Protocol& protocol, int volumes,
                                          double repetitionTimeMs);

// "conditions %d and %d of %s share the name %s" (from 1, %s the protocol at `path`) for the first
// two conditions whose names the host cannot tell apart (equal as far as its record holds them):
// the second one's events would never be modelled. None when every name is its own.
std::optional<std::string> conditionsSharingAName(const formats::Protocol& protocol,
                                                  const std::string& path);

}  // namespace headless
