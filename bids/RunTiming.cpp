#include "bids/RunTiming.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <optional>

#include "bids/BidsName.h"
#include "bids/Inheritance.h"
#include "bids/InputError.h"
#include "bids/NiftiHeader.h"
#include "bids/Sidecar.h"

namespace bids {

namespace fs = std::filesystem;

namespace {

bool plausible(double seconds) {
    return seconds >= kShortestRepetitionTime && seconds <= kLongestRepetitionTime;
}

// True when a / b lies near 1000: the one in milliseconds, the other in seconds.
bool thousandfold(double a, double b) {
    const double ratio = a / b;
    return ratio >= 500.0 && ratio <= 2000.0;
}

}  // namespace

std::string secondsText(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g s", seconds);
    return text;
}

void checkRepetitionTime(double seconds, const std::string& source) {
    if (plausible(seconds)) {
        return;
    }
    std::string likely;
    if (plausible(seconds / 1000.0)) {
        likely = "; it looks like milliseconds (" + secondsText(seconds / 1000.0) + ")";
    } else if (plausible(seconds * 1000.0)) {
        likely = "; it looks like kiloseconds or a misplaced decimal point (" +
                 secondsText(seconds * 1000.0) + ")";
    }
    char range[64];
    std::snprintf(range, sizeof range, "%g to %g s", kShortestRepetitionTime,
                  kLongestRepetitionTime);
    throw InputError(source + " gives a repetition time of " + secondsText(seconds) +
                     ", outside the plausible " + range + likely + "; nothing is written");
}

std::vector<fs::path> boldSidecars(const fs::path& bold) {
    const fs::path folder = bold.parent_path().empty() ? fs::path(".") : bold.parent_path();
    const std::string fileName = bold.filename().string();
    const std::optional<BidsName> name = parseBidsName(fileName);
    if (name && (name->extension == ".nii" || name->extension == ".nii.gz")) {
        const fs::path root = datasetRoot(folder).value_or(folder);
        return applicableFiles(root, folder, *name, name->suffix, ".json");
    }
    // Not a BIDS name: the sidecar of the same name alone.
    fs::path beside = folder / fileName.substr(0, fileName.find('.'));
    beside += ".json";
    std::error_code code;
    return fs::is_regular_file(beside, code) ? std::vector<fs::path>{beside}
                                             : std::vector<fs::path>{};
}

RunTiming runTiming(const std::optional<std::string>& boldPath,
                    const std::vector<fs::path>& sidecars, std::vector<std::string>& notes) {
    std::optional<double> sidecarTime;
    std::string sidecarPath;
    RunTiming timing;
    for (const fs::path& sidecar : sidecars) {
        const SidecarTiming read = sidecarTiming(sidecar.generic_string());
        if (read.readingNote) {
            notes.push_back(*read.readingNote);
        }
        if (read.repetitionTime) {
            sidecarTime = read.repetitionTime;
            sidecarPath = sidecar.generic_string();
        }
        if (read.startTime) {
            timing.startTime = read.startTime;
            timing.startTimeSource = sidecar.generic_string();
        }
    }
    std::optional<NiftiHeader> header;
    if (boldPath) {
        header = readNiftiHeader(*boldPath);
        timing.volumes = header->volumes;
        timing.volumesSource = *boldPath;
    }
    const std::string headerName =
        boldPath ? "the NIfTI header of " + *boldPath + " (pixdim[4])" : std::string();
    if (sidecarTime) {
        timing.repetitionTime = *sidecarTime;
        timing.repetitionTimeSource = sidecarPath;
        if (header && header->repetitionTime) {
            const double fromHeader = *header->repetitionTime;
            if (thousandfold(*sidecarTime, fromHeader) || thousandfold(fromHeader, *sidecarTime)) {
                const bool sidecarInMs = *sidecarTime > fromHeader;
                throw InputError(sidecarPath + " gives RepetitionTime " +
                                 secondsText(*sidecarTime) + ", " + headerName + " " +
                                 secondsText(fromHeader) + ": a factor near 1000; " +
                                 (sidecarInMs ? "the sidecar's" : "the header's") +
                                 " is likely in milliseconds; nothing is written");
            }
            if (std::fabs(fromHeader - *sidecarTime) > 1e-6 * std::max(1.0, *sidecarTime)) {
                notes.push_back("warning: " + sidecarPath + " gives RepetitionTime " +
                                secondsText(*sidecarTime) + ", the NIfTI header of " + *boldPath +
                                " " + secondsText(fromHeader) + "; the sidecar's is used");
            }
        }
        checkRepetitionTime(timing.repetitionTime, sidecarPath + " (RepetitionTime)");
    } else if (header && header->repetitionTime) {
        timing.repetitionTime = *header->repetitionTime;
        timing.repetitionTimeSource = *boldPath;
        if (header->timeUnitAssumed) {
            notes.push_back("the NIfTI header of " + *boldPath +
                            " gives no time unit; pixdim[4] taken as seconds (" +
                            secondsText(timing.repetitionTime) + ")");
        }
        checkRepetitionTime(timing.repetitionTime, headerName);
    }
    return timing;
}

RunTiming boldRunTiming(const std::string& boldPath, std::vector<std::string>& notes) {
    RunTiming timing = runTiming(boldPath, boldSidecars(boldPath), notes);
    if (timing.repetitionTime == 0.0) {
        throw InputError(boldPath + ": no repetition time: no sidecar gives RepetitionTime and " +
                         "the NIfTI header's pixdim[4] is not a positive time step");
    }
    return timing;
}

double sliceReferenceOf(const RunTiming& timing, std::optional<double> given,
                        std::vector<std::string>& notes) {
    if (given) {
        return *given;
    }
    if (!timing.startTime || !(timing.repetitionTime > 0.0)) {
        return 0.0;
    }
    const double fraction = *timing.startTime / timing.repetitionTime;
    if (fraction > 1.0) {
        throw InputError(timing.startTimeSource + " gives StartTime " +
                         secondsText(*timing.startTime) + ", beyond the repetition time of " +
                         secondsText(timing.repetitionTime) +
                         "; give --slice-time-ref F to set the reference yourself");
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", fraction);
    notes.push_back("slice-time reference " + std::string(text) + " of the TR from StartTime " +
                    secondsText(*timing.startTime) + " in " + timing.startTimeSource +
                    " (--slice-time-ref overrides it)");
    return fraction;
}

}  // namespace bids
