#include "headless/program/PreflightCheck.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <unordered_map>
#include <unordered_set>

#include "abi/HostRecords.h"
#include "batch/FileList.h"
#include "designmatrix/ConfoundKinds.h"
#include "formats/DesignTable.h"
#include "formats/ProtocolReader.h"
#include "formats/TimeCourse.h"
#include "headless/ProtocolWarnings.h"
#include "headless/program/FileIdentity.h"
#include "headless/program/ProtocolPlace.h"
#include "paths/RegularFile.h"
#include "paths/WholeFile.h"
#include "text/DesignFileHeader.h"

namespace headless {

namespace {

namespace fs = std::filesystem;

// The longest protocol path the host's record holds whole; the plug-in makes nothing from a
// longer one, which may have been cut.
constexpr std::size_t kProtocolFieldLength = sizeof(host::ProtocolRecord::fileName) - 1;

using batch::IdleEntry;
using batch::IdleReason;
using batch::PlannedPair;
using designmatrix::ConfoundKind;

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
std::optional<std::string> splitPath(const std::vector<std::string>& entries, std::size_t at) {
    if (isFile(entries[at])) {
        return std::nullopt;
    }
    const std::size_t count = entries.size();
    for (std::size_t pieces = 2; pieces <= 3; ++pieces) {
        for (std::size_t back = 0; back < pieces; ++back) {
            if (back > at || at - back + pieces > count) {
                continue;
            }
            std::string joined = entries[at - back];
            for (std::size_t i = 1; i < pieces; ++i) {
                joined += " " + entries[at - back + i];
            }
            if (isFile(joined)) {
                return joined;
            }
        }
    }
    return std::nullopt;
}

// Every mark that gives an entry a kind, with what it makes the entry.
std::vector<std::pair<std::string, std::string>> kindMarks() {
    std::vector<std::pair<std::string, std::string>> marks = {{".prt", "a protocol"},
                                                              {".vtc", "a time course"}};
    for (const auto& kind : designmatrix::confoundKinds()) {
        marks.emplace_back(kind.mark, std::string(kind.role) + " (" + std::string(kind.mark) + ")");
    }
    return marks;
}

std::string lowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Why an entry of no kind is of none: a path split at a blank, a kind's mark in another case,
// or a word that names no file.
std::string whyOfNoKind(const std::vector<std::string>& entries, std::size_t at) {
    if (const auto joined = splitPath(entries, at)) {
        return "it is part of the path \"" + *joined +
               "\", which the list splits at its blanks: write that path in double quotes";
    }
    const std::string& entry = entries[at];
    const std::string lower = lowerCase(entry);
    std::string marks;
    for (const auto& [mark, kind] : kindMarks()) {
        marks += (marks.empty() ? "\"" : ", \"") + mark + "\"";
        const std::size_t found = lower.find(lowerCase(mark));
        if (found != std::string::npos) {
            return "its name holds \"" + entry.substr(found, mark.size()) +
                   "\", but only the mark in capitals (or \".prt\", \".vtc\" in small letters) "
                   "makes it " +
                   kind + ": kinds are told by case-sensitive marks";
        }
    }
    if (!isFile(entry)) {
        return "no file of that name exists (a word of a comment? the list has no comments: every "
               "word is an entry)";
    }
    return "the file exists, but its name holds none of " + marks;
}

class PairChecker {
  public:
    PairChecker(const ListRun& run, const std::string& volumeDocument, bool skipFirst)
        : entries_(run.plan.list.entries),
          plan_(run.plan),
          volumeDocument_(volumeDocument),
          skipFirst_(skipFirst) {}

    PairCheck check(std::size_t index) {
        const PlannedPair& pair = plan_.pairs[index];
        PairCheck result;
        result.pair = index + 1;
        result.entry = pair.protocol + 1;
        result.protocol = entries_[pair.protocol];
        findings_ = &result.findings;
        if (const auto joined = splitPath(entries_, pair.protocol)) {
            add(Verdict::Fail, pair.protocol, result.protocol,
                "this entry is part of the path \"" + *joined +
                    "\", which the list splits at its blanks: write that path in double quotes");
        }
        if (!pair.timeCourse) {
            const std::string next =
                pair.protocol + 1 < entries_.size()
                    ? "the next entry is \"" + entries_[pair.protocol + 1] + "\""
                    : "it is the last entry";
            add(Verdict::Fail, pair.protocol, result.protocol,
                "no time course (*.vtc) follows the protocol (" + next +
                    "): the plug-in makes nothing for it");
            return result;
        }
        result.timeCourse = entries_[*pair.timeCourse];
        const std::optional<formats::TimeCourseHeader> run = timeCourse(*pair.timeCourse);
        protocol(pair, run);
        const bool allThree = pair.chosen[0] && pair.chosen[1] && pair.chosen[2];
        for (std::size_t kind = 0; kind < designmatrix::kConfoundKinds; ++kind) {
            if (pair.chosen[kind]) {
                confound(static_cast<ConfoundKind>(kind), *pair.chosen[kind], run, allThree);
            }
        }
        for (const IdleEntry& idle : plan_.idle) {
            if (idle.pair == index && idle.reason == IdleReason::NotRecognised) {
                add(Verdict::Fail, idle.entry, entries_[idle.entry],
                    "entry " + std::to_string(idle.entry + 1) + " (" + entries_[idle.entry] +
                        ") in the pair's range is of no kind: no confound is taken from it (see "
                        "the entries that take no part)");
            }
        }
        return result;
    }

  private:
    // A finding about entry `entry` (from 0) of the list.
    void add(Verdict verdict, std::size_t entry, const std::string& file, std::string text) {
        findings_->push_back({verdict, entry + 1, file, std::move(text)});
    }

    std::optional<formats::TimeCourseHeader> timeCourse(std::size_t entry) {
        const std::string& path = entries_[entry];
        formats::TimeCourseRead read = formats::readTimeCourseHeader(path);
        if (!read.header) {
            if (const auto joined = splitPath(entries_, entry)) {
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
        if (const auto warning = repetitionTimeWarning(tr)) {
            add(Verdict::Warning, entry, path, *warning);
        }
        return read.header;
    }

    void protocol(const PlannedPair& pair, const std::optional<formats::TimeCourseHeader>& run) {
        const std::string& listed = entries_[pair.protocol];
        const ProtocolPlace place =
            findListedProtocol(listed, entries_[*pair.timeCourse], volumeDocument_);
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
        if (const auto mismatch = protocolMismatch(listed, used)) {
            add(Verdict::Fail, pair.protocol, used, *mismatch);
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
        if (skipFirst_) {
            if (const auto note = skippedConditionNote(*read.protocol)) {
                add(Verdict::Note, pair.protocol, used, *note);
            }
        }
    }

    void confound(ConfoundKind kind, std::size_t entry,
                  const std::optional<formats::TimeCourseHeader>& run, bool allThree) {
        const std::string& path = entries_[entry];
        const bool timeCourseLayout =
            text::designFileLayoutOf(path) == text::DesignFileLayout::TimeCourse;
        const bool motion = kind == ConfoundKind::Motion;
        const std::string what =
            std::string(designmatrix::confoundKind(kind).role) + " " + path + " (" +
            (timeCourseLayout ? "reference time-course" : "design-matrix") + " layout)";
        const designmatrix::DesignMatrixFilePtr record =
            designmatrix::readConfound(kind, path.c_str());
        if (!record->readOk) {
            add(Verdict::Fail, entry, path,
                what + ": the plug-in cannot read it: " + readFailure(path, *record));
            return;
        }
        const std::int32_t predictors = record->nrOfPredictors;
        if (!motion && predictors <= 0) {
            add(Verdict::Fail, entry, path,
                what + ": it holds no predictor to add (a constant alone is not merged)");
            return;
        }
        const std::int32_t points = record->nrOfDataPoints;
        const std::int32_t kept = motion ? 6 : predictors;
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

    // Why the reader failed: the place of the fault when the file does not read whole as a
    // table, else the line the reader logged first.
    static std::string readFailure(const std::string& path,
                                   const designmatrix::DesignMatrixFile& record) {
        if (paths::isIrregularFile(path)) {
            return paths::irregularFileText(path);
        }
        if (!isFile(path)) {
            return "the file does not exist or cannot be opened";
        }
        const formats::DesignTableRead table = formats::readDesignTable(path);
        return table.table ? record.failure : table.error;
    }

    const std::vector<std::string>& entries_;
    const batch::RunPlan& plan_;
    const std::string& volumeDocument_;
    bool skipFirst_;
    std::vector<Finding>* findings_ = nullptr;
};

// The files a run reads: the design matrices it writes must be none of them.
FileDescriptions inputsOf(const ListRun& run, const std::string& volumeDocument) {
    FileDescriptions inputs;
    inputs.add(run.path, "the file list");
    inputs.add(volumeDocument, "the volume document");
    const std::vector<std::string>& entries = run.plan.list.entries;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        inputs.add(entries[i],
                   "entry " + std::to_string(i + 1) + " of the list (" + entries[i] + ")");
    }
    return inputs;
}

// The list-wide findings: how much of it the plug-in reads and what it declares.
void checkListAsAWhole(const ListRun& run, std::vector<Finding>& findings) {
    const batch::RunPlan& plan = run.plan;
    const auto add = [&](Verdict verdict, std::string text) {
        findings.push_back({verdict, std::nullopt, run.path, std::move(text)});
    };
    if (const auto missing = missingPairs(run)) {
        add(Verdict::Fail, *missing);
    } else if (plan.countDiffers()) {
        add(Verdict::Warning,
            "the list declares " + std::to_string(plan.list.declaredCount) + " pairs but holds " +
                std::to_string(plan.pairs.size()) +
                " protocols: the plug-in warns that not every file was read or classified, and "
                "goes on with the protocols it holds");
    }
    const std::string read = std::to_string(plan.list.entries.size());
    if (plan.list.end == batch::ListEnd::UnclosedQuote) {
        add(Verdict::Warning, plan.list.endedBy + " Nothing after entry " + read + " is read.");
    } else if (plan.list.end == batch::ListEnd::ShortWord) {
        add(Verdict::Warning, "the list ends at the one-character word \"" + plan.list.endedBy +
                                  "\" after entry " + read +
                                  ": nothing after it is read (the list has no comments: a "
                                  "one-character word ends it)");
    }
}

// The design matrices each pair writes, and any of them that would replace an input or the
// output of an earlier pair.
void checkOutputs(const ListRun& run, const std::string& volumeDocument,
                  std::vector<PairCheck>& pairs) {
    const FileDescriptions inputs = inputsOf(run, volumeDocument);
    // output file -> the pair that wrote it last, and whether it was that pair's base
    std::unordered_map<std::string, std::size_t> writers;
    std::vector<bool> replacedFound(pairs.size(), false);
    for (std::size_t k = 0; k < run.plan.pairs.size(); ++k) {
        const PlannedPair& pair = run.plan.pairs[k];
        if (!pair.timeCourse) {
            continue;
        }
        std::vector<Finding>& findings = pairs[k].findings;
        const std::size_t entry = pair.protocol + 1;
        std::vector<std::string> outputs = {pair.base};
        if (!pair.merged.empty()) {
            outputs.push_back(pair.merged);
        }
        bool clash = false;
        std::vector<std::string> written;  // the outputs the plug-in does not refuse
        for (std::size_t i = 0; i < outputs.size() && !(i > 0 && written.empty()); ++i) {
            const std::string& output = outputs[i];
            const char* outcome = i == 0 ? "the plug-in makes no design matrix for this pair"
                                         : "the plug-in writes no merged design matrix for it";
            if (const auto input = inputs.find(output)) {
                findings.push_back(
                    {Verdict::Fail, entry, output,
                     "the design matrix " + output + " would replace " + *input + ": " + outcome});
                clash = true;
            } else {
                written.push_back(output);
            }
        }
        // The earlier pair whose design matrix this one replaces first.
        for (const std::string& output : written) {
            const auto [writer, first] = writers.try_emplace(sameFileKey(output), k);
            if (first || writer->second == k) {
                continue;
            }
            const std::size_t other = writer->second;
            writer->second = k;
            findings.push_back({Verdict::Note, entry, output,
                                "writes " + output + ", which pair " + std::to_string(other + 1) +
                                    " wrote before"});
            if (!replacedFound[other]) {
                replacedFound[other] = true;
                const PlannedPair& earlier = run.plan.pairs[other];
                const std::string& replaced =
                    sameFileKey(earlier.base) == sameFileKey(output) ? earlier.base : output;
                pairs[other].findings.push_back(
                    {Verdict::Fail, earlier.protocol + 1, replaced, replacedText(replaced, k + 1)});
            }
        }
        if (!clash) {
            findings.push_back({Verdict::Ok, entry, outputs.front(),
                                "writes " + outputs.front() +
                                    (outputs.size() > 1 ? " and " + outputs.back() : "")});
        }
    }
}

// Why an entry takes no part, and how much that weighs.
Finding idleFinding(const std::vector<std::string>& entries, const batch::RunPlan& plan,
                    const IdleEntry& idle) {
    const std::size_t at = idle.entry;
    const std::string pair = idle.pair ? "pair " + std::to_string(*idle.pair + 1) : "";
    Finding finding{Verdict::Warning, at + 1, entries[at], ""};
    switch (idle.reason) {
        case IdleReason::BeforeFirstProtocol:
            finding.text = "it stands before the first protocol and belongs to no pair";
            if (plan.kinds[at] == batch::Unrecognised) {
                finding.text += "; it is of no kind: " + whyOfNoKind(entries, at);
            }
            break;
        case IdleReason::NoTimeCourse:
            finding.text = "it follows the protocol of " + pair +
                           ", which has no time course: nothing is made for that protocol";
            break;
        case IdleReason::NotRecognised:
            finding.verdict = Verdict::Fail;
            finding.text =
                "it stands in the range of " + pair +
                " but is of no kind, so no confound is taken from it: " + whyOfNoKind(entries, at);
            break;
        case IdleReason::ExtraTimeCourse:
            finding.text = "a further time course in the range of " + pair +
                           ": it has no protocol of its own, so nothing is made for it";
            break;
        case IdleReason::PassedOver:
            finding.text = "a confound file of " + pair + ", replaced by entry " +
                           std::to_string(idle.takenInstead + 1) +
                           " of the same kind: only the last of a kind is merged";
            break;
    }
    return finding;
}

}  // namespace

std::string replacedText(const std::string& designMatrix, std::size_t byPair) {
    return "its design matrix " + designMatrix + " was replaced by pair " + std::to_string(byPair);
}

ListRun readListRun(const std::string& path, bool zTransform) {
    ListRun run;
    run.path = path;
    std::string unreadable;
    std::optional<batch::FileList> list = batch::readFileList(path, &unreadable);
    if (!list) {
        run.unreadable = unreadable;
        list.emplace();
    }
    run.plan = batch::planRun(std::move(*list), zTransform);
    return run;
}

std::optional<std::string> missingPairs(const ListRun& run) {
    const int declared = run.plan.list.declaredCount;
    const std::size_t held = run.plan.pairs.size();
    if (held > 0 && (declared < 0 || static_cast<std::size_t>(declared) <= held)) {
        return std::nullopt;
    }
    return "the list declares " + std::to_string(declared) + " pairs and holds " +
           std::to_string(held);
}

std::optional<std::string> skippedConditionNote(const formats::Protocol& protocol) {
    if (protocol.conditions.empty()) {
        return std::nullopt;
    }
    const formats::ProtocolCondition& first = protocol.conditions.front();
    return "--skip-first skipped condition \"" + first.name + "\" (" +
           std::to_string(first.starts.size()) +
           (first.starts.size() == 1 ? " interval)" : " intervals)");
}

std::optional<std::string> repetitionTimeWarning(double tr) {
    if (tr >= kShortestRepetitionTimeMs && tr <= kLongestRepetitionTimeMs) {
        return std::nullopt;
    }
    return "its TR of " + number(tr) + " ms lies outside " + number(kShortestRepetitionTimeMs) +
           " ms to " + number(kLongestRepetitionTimeMs / 1000.0) +
           " s: the time course may give it in another unit than milliseconds (seconds?)";
}

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

namespace {

// Temporaries that a killed run left beside the design matrices this one writes.
void checkLeftoverTemporaries(const batch::RunPlan& plan, std::vector<Finding>& findings) {
    std::unordered_set<std::string> folders;
    for (const batch::PlannedPair& pair : plan.pairs) {
        if (!pair.timeCourse) {
            continue;
        }
        const std::string folder = std::filesystem::path(pair.base).parent_path().string();
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

}  // namespace

PairCheck checkPair(const ListRun& run, std::size_t index, const std::string& volumeDocument,
                    bool skipFirst) {
    return PairChecker(run, volumeDocument, skipFirst).check(index);
}

CheckResult checkList(const ListRun& run, const std::string& volumeDocument,
                      const CheckOptions& options) {
    CheckResult result;
    if (run.unreadable) {
        result.list.push_back({Verdict::Fail, std::nullopt, run.path,
                               "the plug-in reads none of the list: " + *run.unreadable});
    }
    checkListAsAWhole(run, result.list);
    PairChecker checker(run, volumeDocument, options.skipFirst);
    for (std::size_t k = 0; k < run.plan.pairs.size(); ++k) {
        result.pairs.push_back(checker.check(k));
    }
    checkOutputs(run, volumeDocument, result.pairs);
    checkLeftoverTemporaries(run.plan, result.list);
    if (options.strict) {
        for (PairCheck& pair : result.pairs) {
            for (Finding& finding : pair.findings) {
                if (finding.verdict == Verdict::Warning) {
                    finding.verdict = Verdict::Fail;
                    finding.text += " (a warning fails the pair under --strict)";
                }
            }
        }
    }
    for (const IdleEntry& idle : run.plan.idle) {
        result.unused.emplace_back(idle.pair ? std::optional(*idle.pair + 1) : std::nullopt,
                                   idleFinding(run.plan.list.entries, run.plan, idle));
    }
    return result;
}

}  // namespace headless
