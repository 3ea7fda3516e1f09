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

std::string secondsText(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g s", seconds);
    return text;
}

// The sidecars that apply to the BOLD file, most general first.
std::vector<fs::path> sidecarsOf(const fs::path& bold) {
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

}  // namespace

RunTiming boldRunTiming(const std::string& boldPath, std::vector<std::string>& notes) {
    const NiftiHeader header = readNiftiHeader(boldPath);
    std::optional<double> sidecarTime;
    std::string sidecarPath;
    for (const fs::path& sidecar : sidecarsOf(boldPath)) {
        if (const auto time = sidecarRepetitionTime(sidecar.generic_string())) {
            sidecarTime = time;
            sidecarPath = sidecar.generic_string();
        }
    }
    RunTiming timing;
    timing.volumes = header.volumes;
    if (sidecarTime) {
        timing.repetitionTime = *sidecarTime;
        if (header.repetitionTime &&
            std::fabs(*header.repetitionTime - *sidecarTime) > 1e-6 * std::max(1.0, *sidecarTime)) {
            notes.push_back("warning: " + sidecarPath + " gives RepetitionTime " +
                            secondsText(*sidecarTime) + ", the NIfTI header of " + boldPath + " " +
                            secondsText(*header.repetitionTime) + "; the sidecar's is used");
        }
    } else if (header.repetitionTime) {
        timing.repetitionTime = *header.repetitionTime;
        if (header.timeUnitAssumed) {
            notes.push_back("the NIfTI header of " + boldPath +
                            " gives no time unit; pixdim[4] taken as seconds (" +
                            secondsText(timing.repetitionTime) + ")");
        }
    } else {
        throw InputError(boldPath + ": no repetition time: no sidecar gives RepetitionTime and " +
                         "the NIfTI header's pixdim[4] is not a positive time step");
    }
    return timing;
}

std::vector<std::string> boldSidecars(const std::string& boldPath) {
    std::vector<std::string> sidecars;
    for (const fs::path& sidecar : sidecarsOf(boldPath)) {
        sidecars.push_back(sidecar.generic_string());
    }
    return sidecars;
}

}  // namespace bids
