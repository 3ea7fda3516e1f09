#pragma once

// How long a volume takes, how many there are and where in a volume its time is taken: given on
// the command line, or from a BOLD run's NIfTI header and the JSON sidecars that apply to it.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace bids {

struct RunTiming {
    double repetitionTime = 0.0;        // seconds; 0 when nothing gave it
    std::int64_t volumes = 0;           // in the run's data file, dummies included; 0 when unknown
    std::optional<double> startTime{};  // the sidecar's StartTime, seconds
    // Where each came from, as the user knows it: "--tr", a file's name.
    std::string repetitionTimeSource{};
    std::string volumesSource{};
    std::string startTimeSource{};
};

// The plausible repetition times, in seconds.
inline constexpr double kShortestRepetitionTime = 0.1;
inline constexpr double kLongestRepetitionTime = 30.0;

// InputError when `seconds` lies outside the plausible range, naming `source` and, where one
// makes it plausible, the unit it is likely in.
void checkRepetitionTime(double seconds, const std::string& source);

// Volumes from the header's dim[4]. TR from the sidecar's RepetitionTime: the sidecar beside
// the file (same name, ".json") or inherited from above (task-x_bold.json), the most specific
// one that has it; else from pixdim[4]. StartTime the same way. A sidecar TR that differs from
// the header's adds a warning to `notes`; an assumed time unit adds a note. InputError when the
// header cannot be read, a sidecar is not valid, neither gives a TR, the TR is implausible, or
// the sidecar and the header differ by a factor near 1000 (one of them in milliseconds).
RunTiming boldRunTiming(const std::string& boldPath, std::vector<std::string>& notes);

// The same from what there is: a BOLD file when there is one, and sidecars, most general first
// (the last that gives a value wins). repetitionTime stays 0 when nothing gives one.
RunTiming runTiming(const std::optional<std::string>& boldPath,
                    const std::vector<std::filesystem::path>& sidecars,
                    std::vector<std::string>& notes);

// The sidecars that apply to a BOLD file, most general first.
std::vector<std::filesystem::path> boldSidecars(const std::filesystem::path& bold);

// Where in a volume its time is taken, as a fraction of the TR: `given` when there is one, else
// StartTime / TR (with a note), else 0. InputError when StartTime is beyond the TR.
double sliceReferenceOf(const RunTiming& timing, std::optional<double> given,
                        std::vector<std::string>& notes);

// "2.5 s": seconds as the notes write them.
std::string secondsText(double seconds);

}  // namespace bids
