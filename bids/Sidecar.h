#pragma once

// Reader of BIDS JSON sidecars: the RepetitionTime of a BOLD run.

#include <optional>
#include <string>

namespace bids {

// The sidecar's RepetitionTime in seconds; none when it has none. InputError naming the file and
// the place for text that is not JSON, a document that is not an object, or a RepetitionTime
// that is not a positive number.
std::optional<double> sidecarRepetitionTime(const std::string& path);
std::optional<double> parseSidecarRepetitionTime(const std::string& text, const std::string& path);

}  // namespace bids
