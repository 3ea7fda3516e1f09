#pragma once

// How long a volume takes and how many there are: given on the command line, or from a BOLD
// run's NIfTI header and the JSON sidecars that apply to it.

#include <cstdint>
#include <string>
#include <vector>

namespace bids {

struct RunTiming {
    double repetitionTime = 0.0;  // seconds
    std::int64_t volumes = 0;     // in the run's data file, dummies included
};

// Volumes from the header's dim[4]. TR from the sidecar's RepetitionTime: the sidecar beside
// the file (same name, ".json") or inherited from above (task-x_bold.json), the most specific
// one that has it; else from pixdim[4]. A sidecar TR that differs from the header's adds a
// warning to `notes`; an assumed time unit adds a note. InputError when the header cannot be
// read, a sidecar is not valid, or neither gives a TR.
RunTiming boldRunTiming(const std::string& boldPath, std::vector<std::string>& notes);

// The JSON sidecars that apply to the BOLD file, most general first (inputs no output may
// replace).
std::vector<std::string> boldSidecars(const std::string& boldPath);

}  // namespace bids
