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
#include "bids/ProtocolText.h"

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
    std::optional<fs::path> events;
    std::optional<fs::path> confounds;
    std::optional<fs::path> otherConfounds;  // a second table: which one holds is not known
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
            runOf(name, path.parent_path());
        } else if (name.suffix == "events" && name.extension == ".tsv") {
            runOf(name, path.parent_path()).events = path;
        }
    });
    walk(request.derivativesFolder, false, [&](const fs::path& path, const BidsName& name) {
        const auto desc = name.entity("desc");
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
    return runs;
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
    std::string entries;
    std::map<std::string, std::string> timeCourses;  // time course -> run
    std::string apart;                               // a time course outside the output folder
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
        const std::string timeCourse = expandPattern(request.timeCoursePattern, runName);
        if (apart.empty() && fs::absolute(timeCourse).lexically_normal().parent_path() != out) {
            apart = timeCourse;
        }
        if (const auto [other, fresh] = timeCourses.emplace(timeCourse, runName); !fresh) {
            throw InputError("--vtc " + request.timeCoursePattern + " gives the runs " +
                             other->second + " and " + runName + " the same time course " +
                             timeCourse);
        }
        const EventsFile events = readEventsFile(run.events->generic_string());
        const std::string protocol = (out / (runName + ".prt")).generic_string();
        listing.files.push_back(
            {protocol, protocolText(protocolFromEvents(events, request.protocol, notes))});
        const std::string motion = (out / (runName + "_3DMC.sdm")).generic_string();
        listing.files.push_back({motion, designMatrixText(motionFromConfounds(
                                             readConfoundsFile(run.confounds->generic_string()),
                                             request.dummies, notes))});
        entries += quotedIfBlank(protocol) + "\n" + quotedIfBlank(timeCourse) + "\n" +
                   quotedIfBlank(motion) + "\n";
        ++listing.listed;
    }
    if (!apart.empty()) {
        notes.push_back("warning: the time course " + apart + " lies outside " +
                        out.generic_string() +
                        ": the batch looks for a linked protocol beside its time course (then "
                        "beside the anatomy), so keep the protocols there");
    }
    if (listing.listed == 0) {
        throw InputError("no run of task " + request.task +
                         " has both an events file and a confound table");
    }
    listing.files.push_back({(out / listFileName(request.task)).generic_string(),
                             std::to_string(listing.listed) + "\n" + entries});
    return listing;
}

}  // namespace bids
