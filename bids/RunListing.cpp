#include "bids/RunListing.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <optional>
#include <utility>

#include "bids/BidsName.h"
#include "bids/ConfoundsFile.h"
#include "bids/DesignMatrixText.h"
#include "bids/EventsFile.h"
#include "bids/Inheritance.h"
#include "bids/InputError.h"
#include "bids/MotionFile.h"
#include "bids/NiftiHeader.h"
#include "bids/ProtocolText.h"
#include "bids/RunTiming.h"

namespace bids {

namespace fs = std::filesystem;

namespace {

// Entities that tell derived files of one run apart but not runs.
bool identifiesRun(const std::string& key) {
    return key != "desc" && key != "space" && key != "res" && key != "den" && key != "echo" &&
           key != "part";
}

BidsName runNameOf(const BidsName& name) {
    BidsName run;
    for (const auto& entity : name.entities) {
        if (identifiesRun(entity.first)) {
            run.entities.push_back(entity);
        }
    }
    return run;
}

std::string joined(const BidsName& run) {
    std::string text;
    for (const auto& [key, value] : run.entities) {
        text += (text.empty() ? "" : "_") + key + "-" + value;
    }
    return text;
}

// Orders "run-2" before "run-10": runs of digits compare by their value.
bool naturalLess(const std::string& a, const std::string& b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const auto digit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
        if (digit(a[i]) && digit(b[j])) {
            std::size_t iEnd = i;
            std::size_t jEnd = j;
            while (iEnd < a.size() && digit(a[iEnd]))
                ++iEnd;
            while (jEnd < b.size() && digit(b[jEnd]))
                ++jEnd;
            const unsigned long long x =
                std::stoull(a.substr(i, std::min<std::size_t>(iEnd - i, 18)));
            const unsigned long long y =
                std::stoull(b.substr(j, std::min<std::size_t>(jEnd - j, 18)));
            if (x != y) {
                return x < y;
            }
            i = iEnd;
            j = jEnd;
        } else {
            if (a[i] != b[j]) {
                return a[i] < b[j];
            }
            ++i;
            ++j;
        }
    }
    if (a.size() - i != b.size() - j) {
        return a.size() - i < b.size() - j;
    }
    return a < b;  // "run-01" and "run-1" stay two runs
}

struct Run {
    BidsName name;    // the entities that identify it
    fs::path folder;  // where its raw files lie
    std::optional<fs::path> bold;
    std::optional<fs::path> events;
    std::optional<fs::path> confounds;
    std::optional<fs::path> preprocessedSidecar;  // fMRIPrep's, with StartTime
    std::optional<fs::path> otherConfounds;       // a second table: which one holds is not known
};

struct RunLess {
    bool operator()(const std::string& a, const std::string& b) const { return naturalLess(a, b); }
};
using Runs = std::map<std::string, Run, RunLess>;

// Every file below `folder` with its parsed name, leaving out folders of derived and source data
// when `rawOnly`.
template <typename Visit>
void walk(const fs::path& folder, bool rawOnly, Visit visit) {
    std::error_code code;
    if (!fs::is_directory(folder, code)) {
        throw InputError("the folder " + folder.generic_string() + " does not exist");
    }
    for (fs::recursive_directory_iterator it(folder, code), end; !code && it != end;
         it.increment(code)) {
        const std::string fileName = it->path().filename().string();
        if (it->is_directory(code)) {
            if (fileName.starts_with(".") ||
                (rawOnly && (fileName == "derivatives" || fileName == "sourcedata"))) {
                it.disable_recursion_pending();
            }
            continue;
        }
        if (const std::optional<BidsName> name = parseBidsName(fileName)) {
            visit(it->path(), *name);
        }
    }
}

bool ofTask(const BidsName& name, const std::string& task) {
    return name.entity("task") == task && name.entity("sub").has_value();
}

Runs findRuns(const ListingRequest& request) {
    Runs runs;
    std::vector<std::pair<std::string, fs::path>> preprocessed;
    const auto runOf = [&runs](const BidsName& name, const fs::path& folder) -> Run& {
        BidsName runName = runNameOf(name);
        Run& run = runs[joined(runName)];
        if (run.folder.empty()) {
            run.name = std::move(runName);
            run.folder = folder;
        }
        return run;
    };
    walk(request.bidsFolder, true, [&](const fs::path& path, const BidsName& name) {
        if (!ofTask(name, request.task)) {
            return;
        }
        if (name.suffix == "bold" && (name.extension == ".nii" || name.extension == ".nii.gz")) {
            Run& run = runOf(name, path.parent_path());
            if (!run.bold || path.generic_string() < run.bold->generic_string()) {
                run.bold = path;
            }
        } else if (name.suffix == "events" && name.extension == ".tsv") {
            runOf(name, path.parent_path()).events = path;
        }
    });
    walk(request.derivativesFolder, false, [&](const fs::path& path, const BidsName& name) {
        const auto desc = name.entity("desc");
        if (name.suffix == "bold" && name.extension == ".json" && desc == "preproc" &&
            ofTask(name, request.task)) {
            // Found before or after the run's table: kept aside until the runs are known.
            preprocessed.emplace_back(joined(runNameOf(name)), path);
            return;
        }
        const bool table = name.extension == ".tsv" &&
                           (((name.suffix == "timeseries" || name.suffix == "regressors") &&
                             (!desc || desc == "confounds")) ||
                            name.suffix == "confounds");
        if (!table || !ofTask(name, request.task)) {
            return;
        }
        const BidsName runName = runNameOf(name);
        Run& run = runs[joined(runName)];
        if (run.folder.empty()) {
            run.name = runName;
            // Where its raw files would lie: the same folders below the dataset.
            run.folder = fs::path(request.bidsFolder) /
                         fs::relative(path.parent_path(), request.derivativesFolder);
        }
        if (!run.confounds) {
            run.confounds = path;
        } else if (!run.otherConfounds) {
            run.otherConfounds = path;
            if (path.generic_string() < run.confounds->generic_string()) {
                std::swap(*run.confounds, *run.otherConfounds);
            }
        }
    });
    for (const auto& [runName, path] : preprocessed) {
        const auto run = runs.find(runName);
        if (run != runs.end() &&
            (!run->second.preprocessedSidecar ||
             path.generic_string() < run->second.preprocessedSidecar->generic_string())) {
            run->second.preprocessedSidecar = path;
        }
    }
    return runs;
}

// A run's files read and its timing worked out, before its protocol is made.
struct ReadRun {
    std::string name;
    EventsFile events;
    TsvTable confounds;
    double shiftSeconds = 0.0;
    std::string bold;  // its BOLD file; empty when none
};

ReadRun readRun(const ListingRequest& request, const std::string& runName, const Run& run,
                std::vector<std::string>& notes) {
    ReadRun result{runName, readEventsFile(run.events->generic_string()),
                   readConfoundsFile(run.confounds->generic_string()), 0.0,
                   run.bold ? run.bold->generic_string() : std::string()};
    for (const TsvTable* table : {&result.events.table, &result.confounds}) {
        if (table->readingNote()) {
            notes.push_back(*table->readingNote());
        }
    }
    // The run's own timing: its BOLD file and the sidecars that apply to it, fMRIPrep's last
    // (it gives StartTime for slice-timing-corrected data).
    std::vector<fs::path> sidecars =
        applicableFiles(request.bidsFolder, run.folder, run.name, "bold", ".json");
    if (run.preprocessedSidecar) {
        sidecars.push_back(*run.preprocessedSidecar);
    }
    std::optional<std::string> bold;
    if (run.bold) {
        // A BOLD file not fetched (a dangling link of a data store) leaves the sidecars.
        try {
            readNiftiHeader(run.bold->generic_string());
            bold = run.bold->generic_string();
        } catch (const InputError& error) {
            notes.push_back(std::string("warning: ") + error.what() + "; the timing of " + runName +
                            " comes from its sidecars alone");
        }
    }
    const RunTiming timing = runTiming(bold, sidecars, notes);
    const bool moved = request.dummies > 0 || request.sliceReference.value_or(0.0) > 0.0 ||
                       (!request.sliceReference && timing.startTime.value_or(0.0) > 0.0);
    if (timing.repetitionTime == 0.0) {
        if (moved) {
            throw InputError("no repetition time for " + runName +
                             ": no BOLD file or sidecar gives one, and --dummy or the slice-time "
                             "reference moves its events by a number of volumes");
        }
        return result;
    }
    const double reference = sliceReferenceOf(timing, request.sliceReference, notes);
    result.shiftSeconds =
        (static_cast<double>(request.dummies) + reference) * timing.repetitionTime;
    const auto volumes = static_cast<std::int64_t>(result.confounds.rowCount());
    if (const auto past = eventsPastRunEnd(result.events, volumes, timing.repetitionTime)) {
        notes.push_back(*past);
    }
    return result;
}

std::string quotedIfBlank(const std::string& path) {
    return path.find_first_of(" \t") == std::string::npos ? path : "\"" + path + "\"";
}

}  // namespace

std::string expandPattern(const std::string& pattern, const std::string& runName) {
    const std::optional<BidsName> name = parseBidsName(runName + "_x");
    std::string result;
    for (std::size_t i = 0; i < pattern.size();) {
        const std::size_t close = pattern.find('}', i);
        if (pattern[i] != '{' || close == std::string::npos) {
            result += pattern[i++];
            continue;
        }
        const std::string key = pattern.substr(i + 1, close - i - 1);
        const std::optional<std::string> value = name ? name->entity(key) : std::nullopt;
        if (!value) {
            throw InputError("--vtc " + pattern + ": the run " + runName + " has no " + key +
                             " entity for {" + key + "}");
        }
        result += *value;
        i = close + 1;
    }
    return result;
}

std::string listFileName(const std::string& task) {
    return "task-" + task + "_list.txt";
}

Listing planListing(const ListingRequest& request, std::vector<std::string>& notes) {
    Runs runs = findRuns(request);
    if (runs.empty()) {
        throw InputError("no run of task " + request.task + " in " + request.bidsFolder + " or " +
                         request.derivativesFolder);
    }
    const fs::path out = fs::absolute(request.outputFolder).lexically_normal();
    Listing listing;
    // Every run is read first, so that one bad file leaves out its run alone and the task's
    // conditions are known before any protocol is made.
    std::vector<ReadRun> read;
    for (auto& [runName, run] : runs) {
        if (!run.events) {
            const auto inherited =
                applicableFiles(request.bidsFolder, run.folder, run.name, "events", ".tsv");
            if (!inherited.empty()) {
                run.events = inherited.back();
            }
        }
        if (!run.events || !run.confounds) {
            notes.push_back("skipped " + runName + ": " +
                            (!run.events ? "no events file in " + request.bidsFolder
                                         : "no confound table in " + request.derivativesFolder));
            ++listing.skipped;
            continue;
        }
        if (run.otherConfounds) {
            notes.push_back("skipped " + runName + ": two confound tables, " +
                            run.confounds->generic_string() + " and " +
                            run.otherConfounds->generic_string() + ": keep one");
            ++listing.skipped;
            continue;
        }
        try {
            read.push_back(readRun(request, runName, run, notes));
        } catch (const InputError& error) {
            notes.push_back("error: skipped " + runName + ": " + error.what());
            ++listing.skipped;
            ++listing.failed;
        }
    }
    ProtocolRequest protocolRequest = request.protocol;
    if (!protocolRequest.conditions) {
        // One order for the task: first appearance over the runs in their order.
        std::vector<std::string> conditions;
        for (const ReadRun& run : read) {
            for (const std::string& condition : run.events.conditions) {
                if (std::find(conditions.begin(), conditions.end(), condition) ==
                    conditions.end()) {
                    conditions.push_back(condition);
                }
            }
        }
        protocolRequest.taskConditions = std::move(conditions);
    }
    std::string entries;
    std::map<std::string, std::string> timeCourses;  // time course -> run
    std::string apart;                               // a time course outside the output folder
    for (const ReadRun& run : read) {
        const std::string timeCourse = expandPattern(request.timeCoursePattern, run.name);
        if (const auto [other, fresh] = timeCourses.emplace(timeCourse, run.name); !fresh) {
            throw InputError("--vtc " + request.timeCoursePattern + " gives the runs " +
                             other->second + " and " + run.name + " the same time course " +
                             timeCourse);
        }
        std::vector<PlannedFile> files;
        try {
            protocolRequest.shiftSeconds = run.shiftSeconds;
            const std::string protocol = (out / (run.name + ".prt")).generic_string();
            files.push_back(
                {protocol, protocolText(protocolFromEvents(run.events, protocolRequest, notes))});
            const std::string motion = (out / (run.name + "_3DMC.sdm")).generic_string();
            files.push_back({motion, designMatrixText(motionFromConfounds(
                                         run.confounds, request.dummies, notes))});
        } catch (const InputError& error) {
            notes.push_back("error: skipped " + run.name + ": " + error.what());
            ++listing.skipped;
            ++listing.failed;
            continue;
        }
        if (apart.empty() && fs::absolute(timeCourse).lexically_normal().parent_path() != out) {
            apart = timeCourse;
        }
        entries += quotedIfBlank(files[0].path) + "\n" + quotedIfBlank(timeCourse) + "\n" +
                   quotedIfBlank(files[1].path) + "\n";
        listing.files.insert(listing.files.end(), files.begin(), files.end());
        listing.boldFiles.push_back(run.bold);
        ++listing.listed;
    }
    if (!apart.empty()) {
        notes.push_back("warning: the time course " + apart + " lies outside " +
                        out.generic_string() +
                        ": the batch looks for a linked protocol beside its time course (then "
                        "beside the anatomy), so keep the protocols there");
    }
    if (listing.listed == 0) {
        throw InputError(listing.failed > 0
                             ? "no run of task " + request.task +
                                   " could be listed: every run with an events file and a "
                                   "confound table has a file that cannot be used (above)"
                             : "no run of task " + request.task +
                                   " has both an events file and a confound table");
    }
    listing.files.push_back({(out / listFileName(request.task)).generic_string(),
                             std::to_string(listing.listed) + "\n" + entries});
    return listing;
}

}  // namespace bids
