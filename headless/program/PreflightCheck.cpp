#include "headless/program/PreflightCheck.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <unordered_map>
#include <unordered_set>

#include "abi/HostRecords.h"
#include "designmatrix/ConfoundReaders.h"
#include "designmatrix/DesignMatrixFile.h"
#include "formats/ProtocolReader.h"
#include "formats/TimeCourse.h"
#include "headless/ProtocolWarnings.h"
#include "headless/program/FailureLines.h"
#include "headless/program/FileIdentity.h"
#include "headless/program/LogCapture.h"
#include "headless/program/ProtocolPlace.h"
#include "paths/RegularFile.h"
#include "paths/WholeFile.h"
#include "plot/DesignTable.h"
#include "text/DesignFileHeader.h"

namespace headless {

namespace {

namespace fs = std::filesystem;

// The longest protocol path the host's record holds whole; the plug-in makes nothing from a
// longer one, which may have been cut.
constexpr std::size_t kProtocolFieldLength = sizeof(host::ProtocolRecord::fileName) - 1;

constexpr std::array<const char*, kConfoundSlots> kRoles = {"motion estimates", "heart rate",
                                                            "respiration"};

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

bool isFile(const std::string& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

Verdict worst(Verdict a, Verdict b) {
    return std::max(a, b);
}

// A path the list split into entries at its blanks: the entries around `at` joined by blanks,
// when that names a file and the entry alone does not.
std::optional<std::string> splitPath(const ListPlan& plan, std::size_t at) {
    if (isFile(plan.entries[at])) {
        return std::nullopt;
    }
    const std::size_t count = plan.entries.size();
    for (std::size_t pieces = 2; pieces <= 3; ++pieces) {
        for (std::size_t back = 0; back < pieces; ++back) {
            if (back > at || at - back + pieces > count) {
                continue;
            }
            std::string joined = plan.entries[at - back];
            for (std::size_t i = 1; i < pieces; ++i) {
                joined += " " + plan.entries[at - back + i];
            }
            if (isFile(joined)) {
                return joined;
            }
        }
    }
    return std::nullopt;
}

// Why an entry of no kind is of none: a path split at a blank, a kind's mark in another case,
// or a word that names no file.
std::string whyOfNoKind(const ListPlan& plan, std::size_t at) {
    if (const auto joined = splitPath(plan, at)) {
        return "it is part of the path \"" + *joined +
               "\", which the list splits at its blanks: write that path in double quotes";
    }
    const std::string& entry = plan.entries[at];
    std::string lower = entry;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    static constexpr std::array<std::pair<const char*, const char*>, 5> kMarks = {{
        {".prt", "a protocol"},
        {".vtc", "a time course"},
        {"_3dmc", "motion estimates (_3DMC)"},
        {"_hr", "heart rate (_HR)"},
        {"_rvt", "respiration (_RVT)"},
    }};
    for (const auto& [mark, kind] : kMarks) {
        const std::size_t found = lower.find(mark);
        if (found != std::string::npos) {
            return "its name holds \"" + entry.substr(found, std::string(mark).size()) +
                   "\", but only the mark in capitals (or \".prt\", \".vtc\" in small letters) "
                   "makes it " +
                   kind + ": kinds are told by case-sensitive marks";
        }
    }
    if (!isFile(entry)) {
        return "no file of that name exists (a word of a comment? the list has no comments: every "
               "word is an entry)";
    }
    return "the file exists, but its name holds none of \".prt\", \".vtc\", \"_3DMC\", \"_HR\", "
           "\"_RVT\"";
}

class PairChecker {
  public:
    PairChecker(const ListPlan& plan, const std::string& volumeDocument)
        : plan_(plan), volumeDocument_(volumeDocument) {}

    PairCheck check(const ListPair& pair, std::size_t index) {
        PairCheck result;
        result.pair = index + 1;
        result.entry = pair.protocol + 1;
        result.protocol = plan_.entries[pair.protocol];
        findings_ = &result.findings;
        if (const auto joined = splitPath(plan_, pair.protocol)) {
            add(Verdict::Fail, pair.protocol, result.protocol,
                "this entry is part of the path \"" + *joined +
                    "\", which the list splits at its blanks: write that path in double quotes");
        }
        if (!pair.timeCourse) {
            const std::string next =
                pair.protocol + 1 < plan_.entries.size()
                    ? "the next entry is \"" + plan_.entries[pair.protocol + 1] + "\""
                    : "it is the last entry";
            add(Verdict::Fail, pair.protocol, result.protocol,
                "no time course (*.vtc) follows the protocol (" + next +
                    "): the plug-in logs \"No VTC file found for PRT\" and makes nothing for it");
            return result;
        }
        result.timeCourse = plan_.entries[*pair.timeCourse];
        const std::optional<formats::TimeCourseHeader> run = timeCourse(*pair.timeCourse);
        protocol(pair, run);
        const bool allThree = pair.confounds[0] && pair.confounds[1] && pair.confounds[2];
        for (std::size_t slot = 0; slot < kConfoundSlots; ++slot) {
            if (pair.confounds[slot]) {
                confound(slot, *pair.confounds[slot], run, allThree);
            }
        }
        for (std::size_t stray : pair.notRecognised) {
            add(Verdict::Fail, stray, plan_.entries[stray],
                "entry " + std::to_string(stray + 1) + " (" + plan_.entries[stray] +
                    ") in the pair's range is of no kind: no confound is taken from it (see the "
                    "entries that take no part)");
        }
        return result;
    }

  private:
    // A finding about entry `entry` (from 0) of the list.
    void add(Verdict verdict, std::size_t entry, const std::string& file, std::string text) {
        findings_->push_back({verdict, entry + 1, file, std::move(text)});
    }

    std::optional<formats::TimeCourseHeader> timeCourse(std::size_t entry) {
        const std::string& path = plan_.entries[entry];
        formats::TimeCourseRead read = formats::readTimeCourseHeader(path);
        if (!read.header) {
            if (const auto joined = splitPath(plan_, entry)) {
                read.error += "; it is part of the path \"" + *joined +
                              "\", which the list splits at its blanks";
            }
            add(Verdict::Fail, entry, path,
                "the host will not link the time course: " + read.error);
            return std::nullopt;
        }
        const double tr = read.header->repetitionTimeMs;
        add(Verdict::Ok, entry, path,
            "time course " + path + ": " + std::to_string(read.header->nrOfVolumes) +
                " volumes, TR " + number(tr) + " ms");
        if (tr < kShortestRepetitionTimeMs || tr > kLongestRepetitionTimeMs) {
            add(Verdict::Warning, entry, path,
                "its TR of " + number(tr) + " ms lies outside " +
                    number(kShortestRepetitionTimeMs) + " ms to " +
                    number(kLongestRepetitionTimeMs / 1000.0) +
                    " s: the time course may give it in another unit than milliseconds (seconds?)");
        }
        return read.header;
    }

    void protocol(const ListPair& pair, const std::optional<formats::TimeCourseHeader>& run) {
        const std::string& listed = plan_.entries[pair.protocol];
        const ProtocolPlace place =
            findListedProtocol(listed, plan_.entries[*pair.timeCourse], volumeDocument_);
        if (!place.path) {
            std::string tried;
            for (const std::string& path : place.tried) {
                tried += (tried.empty() ? "" : ", ") + path;
            }
            add(Verdict::Fail, pair.protocol, listed,
                "the host will not find the protocol: it looks for its file name beside the time "
                "course, then beside the volume document; looked at: " +
                    tried);
            return;
        }
        const std::string& used = *place.path;
        add(Verdict::Ok, pair.protocol, used, "protocol: " + used + ", found " + place.where);
        if (const auto elsewhere = protocolElsewhere(listed, used, place.where)) {
            add(Verdict::Warning, pair.protocol, used, "protocol: " + *elsewhere);
        }
        if (used.size() >= kProtocolFieldLength) {
            add(Verdict::Fail, pair.protocol, used,
                "the protocol's path has " + std::to_string(used.size()) +
                    " characters and fills the host's field of " +
                    std::to_string(kProtocolFieldLength) +
                    ": the plug-in makes no design matrix from it");
        }
        const formats::ProtocolRead read = formats::readProtocolFile(used);
        if (!read.protocol) {
            add(Verdict::Fail, pair.protocol, used,
                "the host will not load the protocol: " + read.error);
            return;
        }
        if (const auto clash = conditionsSharingAName(*read.protocol, used)) {
            add(Verdict::Fail, pair.protocol, used, *clash);
        }
        if (run) {
            for (const std::string& warning :
                 protocolWarnings(*read.protocol, run->nrOfVolumes, run->repetitionTimeMs)) {
                add(Verdict::Warning, pair.protocol, used, "protocol: " + warning);
            }
        }
    }

    void confound(std::size_t slot, std::size_t entry,
                  const std::optional<formats::TimeCourseHeader>& run, bool allThree) {
        const std::string& path = plan_.entries[entry];
        const bool timeCourseLayout =
            text::designFileLayoutOf(path) == text::DesignFileLayout::TimeCourse;
        const std::string what = std::string(kRoles[slot]) + " " + path + " (" +
                                 (timeCourseLayout ? "reference time-course" : "design-matrix") +
                                 " layout)";
        LogCapture capture;
        designmatrix::DesignMatrixFilePtr record;
        if (slot == kMotionSlot) {
            record = timeCourseLayout ? designmatrix::readMotionEstimatesRtc(path.c_str())
                                      : designmatrix::readMotionEstimatesSdm(path.c_str());
        } else {
            const std::int32_t kind = slot == kHeartRateSlot ? designmatrix::kHeartRateKind
                                                             : designmatrix::kRespirationKind;
            record = timeCourseLayout ? designmatrix::readConfoundsRtc(path.c_str(), kind)
                                      : designmatrix::readConfoundsSdm(path.c_str(), kind);
        }
        if (!record->readOk) {
            add(Verdict::Fail, entry, path,
                what + ": the plug-in cannot read it: " + readFailure(path, capture.entries()));
            return;
        }
        const std::int32_t predictors = record->nrOfPredictors;
        if (slot != kMotionSlot && predictors <= 0) {
            add(Verdict::Fail, entry, path,
                what + ": it holds no predictor to add (a constant alone is not merged)");
            return;
        }
        const std::int32_t points = record->nrOfDataPoints;
        const std::int32_t kept = slot == kMotionSlot ? 6 : predictors;
        const std::string counts = what + ": " + std::to_string(kept) +
                                   (kept == 1 ? " predictor, " : " predictors, ") +
                                   std::to_string(points) + " data points";
        if (!run || points == run->nrOfVolumes) {
            add(Verdict::Ok, entry, path, counts);
        } else if (points < run->nrOfVolumes) {
            add(Verdict::Fail, entry, path,
                counts + ", fewer than the time course's " + std::to_string(run->nrOfVolumes) +
                    " volumes: the merged design matrix would stop after its header");
        } else if (allThree) {
            add(Verdict::Fail, entry, path,
                counts + ", more than the time course's " + std::to_string(run->nrOfVolumes) +
                    " volumes: with all three confounds each must hold exactly as many, or the "
                    "merged design matrix stops after its header");
        } else {
            add(Verdict::Warning, entry, path,
                counts + ", more than the time course's " + std::to_string(run->nrOfVolumes) +
                    " volumes: only the first " + std::to_string(run->nrOfVolumes) + " are merged");
        }
    }

    // What the reader said about the file, the line that names the fault first; the place of
    // the fault when the reader did not name one.
    static std::string readFailure(const std::string& path, const std::vector<std::string>& log) {
        if (paths::isIrregularFile(path)) {
            return paths::irregularFileText(path);
        }
        if (!isFile(path)) {
            return "the file does not exist or cannot be opened";
        }
        for (const std::string& line : log) {
            if (failureLine(line) == FailureLine::Specific) {
                return line;
            }
        }
        const plot::DesignTableRead table = plot::readDesignTable(path);
        if (!table.table) {
            return table.error;
        }
        return log.empty() ? "its contents are not what its header declares" : log.back();
    }

    const ListPlan& plan_;
    const std::string& volumeDocument_;
    std::vector<Finding>* findings_ = nullptr;
};

// The files a run reads: the design matrices it writes must be none of them.
FileDescriptions inputsOf(const ListPlan& plan, const std::string& volumeDocument) {
    FileDescriptions inputs;
    inputs.add(plan.path, "the file list");
    inputs.add(volumeDocument, "the volume document");
    for (std::size_t i = 0; i < plan.entries.size(); ++i) {
        inputs.add(plan.entries[i],
                   "entry " + std::to_string(i + 1) + " of the list (" + plan.entries[i] + ")");
    }
    return inputs;
}

// The list-wide findings: how much of it the plug-in reads and what it declares.
void checkListAsAWhole(const ListPlan& plan, std::vector<Finding>& findings) {
    const auto add = [&](Verdict verdict, std::string text) {
        findings.push_back({verdict, std::nullopt, plan.path, std::move(text)});
    };
    if (plan.pairs.empty()) {
        add(Verdict::Warning, "the list holds no protocol (*.prt): a run makes no design matrix");
    }
    if (plan.declaredCount < 0 ||
        static_cast<std::size_t>(plan.declaredCount) != plan.pairs.size()) {
        add(Verdict::Warning,
            "the list declares " + std::to_string(plan.declaredCount) + " pairs but holds " +
                std::to_string(plan.pairs.size()) +
                " protocols: the plug-in logs \"Warning: not all files have been properly read or "
                "classified.\" and goes on with the protocols it holds");
    }
    if (plan.endedEarly()) {
        const bool quote = plan.endedBy.starts_with("A quoted entry");
        add(Verdict::Warning,
            quote ? plan.endedBy + " Nothing after entry " + std::to_string(plan.entries.size()) +
                        " is read."
                  : "the list ends at the one-character word \"" + plan.endedBy +
                        "\" after entry " + std::to_string(plan.entries.size()) +
                        ": nothing after it is read (the list has no comments: a one-character "
                        "word ends it)");
    }
}

// The design matrices each pair writes, and any of them that would replace an input or the
// output of another pair.
void checkOutputs(const ListPlan& plan, const std::string& volumeDocument, bool zTransform,
                  std::vector<PairCheck>& pairs) {
    const FileDescriptions inputs = inputsOf(plan, volumeDocument);
    std::unordered_map<std::string, std::size_t> writers;  // output file -> first pair
    for (std::size_t k = 0; k < plan.pairs.size(); ++k) {
        const ListPair& pair = plan.pairs[k];
        if (!pair.timeCourse) {
            continue;
        }
        std::vector<Finding>& findings = pairs[k].findings;
        const std::size_t entry = pair.protocol + 1;
        std::vector<std::string> outputs = {baseDesignMatrixOf(plan, pair)};
        if (const auto merged = mergedDesignMatrixOf(plan, pair, zTransform)) {
            outputs.push_back(*merged);
        }
        bool clash = false;
        for (std::size_t i = 0; i < outputs.size(); ++i) {
            const std::string& output = outputs[i];
            const char* outcome = i == 0 ? "the plug-in makes no design matrix for this pair"
                                         : "the plug-in writes no merged design matrix for it";
            if (const auto input = inputs.find(output)) {
                findings.push_back(
                    {Verdict::Fail, entry, output,
                     "the design matrix " + output + " would replace " + *input + ": " + outcome});
                clash = true;
            }
            const auto [writer, first] = writers.try_emplace(sameFileKey(output), k);
            if (!first) {
                const std::size_t other = writer->second;
                findings.push_back({Verdict::Fail, entry, output,
                                    "the design matrix " + output + " is also written by pair " +
                                        std::to_string(other + 1) + ", whose file it replaces"});
                pairs[other].findings.push_back(
                    {Verdict::Fail, plan.pairs[other].protocol + 1, output,
                     "the design matrix " + output + " is written again by pair " +
                         std::to_string(k + 1) + ", which replaces it"});
                clash = true;
            }
        }
        if (!clash) {
            findings.push_back({Verdict::Ok, entry, outputs.front(),
                                "writes " + outputs.front() +
                                    (outputs.size() > 1 ? " and " + outputs.back() : "")});
        }
    }
}

// Temporaries that a killed run left beside the design matrices this one writes.
void checkLeftoverTemporaries(const ListPlan& plan, std::vector<Finding>& findings) {
    std::unordered_set<std::string> folders;
    for (const ListPair& pair : plan.pairs) {
        if (!pair.timeCourse) {
            continue;
        }
        const std::string folder =
            std::filesystem::path(baseDesignMatrixOf(plan, pair)).parent_path().string();
        if (!folders.insert(folder).second) {
            continue;
        }
        for (const std::string& temporary : paths::leftoverTemporaries(folder)) {
            findings.push_back({Verdict::Warning, std::nullopt, temporary,
                                temporary +
                                    " was left by a run that was stopped while writing: the file "
                                    "it was to become was not written; remove it"});
        }
    }
}

// Why an entry takes no part, and how much that weighs.
Finding unusedFinding(const ListPlan& plan, const UnusedEntry& unused) {
    const std::size_t at = unused.entry;
    const std::string pair = unused.pair ? "pair " + std::to_string(*unused.pair + 1) : "";
    Finding finding{Verdict::Warning, at + 1, plan.entries[at], ""};
    switch (unused.reason) {
        case UnusedReason::BeforeFirstProtocol:
            finding.text = "it stands before the first protocol and belongs to no pair";
            if (plan.kinds[at] == batch::Unrecognised) {
                finding.text += "; it is of no kind: " + whyOfNoKind(plan, at);
            }
            break;
        case UnusedReason::NoTimeCourse:
            finding.text = "it follows the protocol of " + pair +
                           ", which has no time course: nothing is made for that protocol";
            break;
        case UnusedReason::NotRecognised:
            finding.verdict = Verdict::Fail;
            finding.text =
                "it stands in the range of " + pair +
                " but is of no kind, so no confound is taken from it: " + whyOfNoKind(plan, at);
            break;
        case UnusedReason::ExtraTimeCourse:
            finding.text = "a further time course in the range of " + pair +
                           ": it has no protocol of its own, so nothing is made for it";
            break;
        case UnusedReason::Replaced:
            finding.text = "a confound file of " + pair + ", replaced by entry " +
                           std::to_string(unused.replacedBy + 1) +
                           " of the same kind: only the last of a kind is merged";
            break;
    }
    return finding;
}

}  // namespace

Verdict PairCheck::verdict() const {
    Verdict verdict = Verdict::Ok;
    for (const Finding& finding : findings) {
        verdict = worst(verdict, finding.verdict);
    }
    return verdict;
}

Verdict CheckResult::verdict() const {
    Verdict verdict = Verdict::Ok;
    for (const Finding& finding : list) {
        verdict = worst(verdict, finding.verdict);
    }
    for (const PairCheck& pair : pairs) {
        verdict = worst(verdict, pair.verdict());
    }
    for (const auto& [pair, finding] : unused) {
        verdict = worst(verdict, finding.verdict);
    }
    return verdict;
}

CheckResult checkList(const ListPlan& plan, const std::string& volumeDocument, bool zTransform) {
    CheckResult result;
    if (plan.unreadable) {
        result.list.push_back({Verdict::Fail, std::nullopt, plan.path,
                               "the plug-in reads none of the list: " + *plan.unreadable});
        return result;
    }
    checkListAsAWhole(plan, result.list);
    PairChecker checker(plan, volumeDocument);
    for (std::size_t k = 0; k < plan.pairs.size(); ++k) {
        result.pairs.push_back(checker.check(plan.pairs[k], k));
    }
    checkOutputs(plan, volumeDocument, zTransform, result.pairs);
    checkLeftoverTemporaries(plan, result.list);
    for (const UnusedEntry& unused : plan.unused) {
        result.unused.emplace_back(unused.pair ? std::optional(*unused.pair + 1) : std::nullopt,
                                   unusedFinding(plan, unused));
    }
    return result;
}

}  // namespace headless
