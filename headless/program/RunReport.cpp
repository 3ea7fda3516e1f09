#include "headless/program/RunReport.h"

#include <algorithm>
#include <system_error>
#include <unordered_set>

#include "formats/DesignTable.h"
#include "headless/ProtocolWarnings.h"
#include "headless/program/FileIdentity.h"
#include "headless/program/ProtocolPlace.h"
#include "paths/FileSet.h"

namespace headless {

namespace {

// Refusals kept per pair: enough to say why, bounded whatever a run does.
constexpr std::size_t kKeptRefusals = 4;
// Rows for pairs declared and not held: a count no list could hold is not written out in full.
constexpr std::size_t kMissingRows = 1000;

// The text on one line: line breaks and the indentation after them become one blank.
std::string oneLine(std::string_view text) {
    std::string line;
    bool blank = false;
    for (char c : text) {
        if (c == '\n' || c == '\r') {
            blank = !line.empty();
            continue;
        }
        if (blank && c == ' ') {
            continue;
        }
        if (blank) {
            line += ' ';
            blank = false;
        }
        line += c;
    }
    return line;
}

std::string joined(const std::vector<std::string>& parts, std::string_view separator) {
    std::string text;
    for (const std::string& part : parts) {
        text += (text.empty() ? std::string() : std::string(separator)) + part;
    }
    return text;
}

}  // namespace

RunReport::RunReport(ListRun list, ReportOptions options)
    : list_(std::move(list)), options_(std::move(options)), rows_(list_.plan.pairs.size()) {}

RunReport::FileState RunReport::stateOf(const std::string& path) {
    FileState state;
    std::error_code error;
    state.exists = std::filesystem::exists(path, error);
    if (state.exists) {
        state.time = std::filesystem::last_write_time(path, error);
        state.size = std::filesystem::is_regular_file(path, error)
                         ? std::filesystem::file_size(path, error)
                         : 0;
    }
    return state;
}

RunReport::Row* RunReport::current() {
    return current_ == 0 ? nullptr : &rows_[current_ - 1];
}

void RunReport::wrote(std::size_t pair, const std::string& path, bool isBase) {
    const auto [writer, first] = writers_.try_emplace(sameFileKey(path), pair, isBase);
    if (first) {
        return;
    }
    const auto [earlier, wasBase] = writer->second;
    if (earlier != pair) {
        std::optional<std::size_t>& by =
            wasBase ? rows_[earlier].baseReplacedBy : rows_[earlier].mergedReplacedBy;
        if (!by) {
            by = pair;
        }
    }
    writer->second = {pair, isBase};
}

void RunReport::closeCurrent() {
    Row* row = current();
    if (row == nullptr) {
        return;
    }
    const batch::PlannedPair& pair = list_.plan.pairs[current_ - 1];
    if (!pair.merged.empty() && !row->mergedWritten && stateOf(pair.merged) != row->mergedBefore) {
        row->mergedWritten = true;
        wrote(current_ - 1, pair.merged, false);
    }
}

void RunReport::fileChosen(const std::string& /*path*/) {
    listHandedOut_ = true;
}

void RunReport::linked(const std::string& path, const formats::TimeCourseHeader& header) {
    closeCurrent();
    const std::vector<batch::PlannedPair>& pairs = list_.plan.pairs;
    const std::vector<std::string>& entries = list_.plan.list.entries;
    for (std::size_t next = current_; next < pairs.size(); ++next) {
        if (pairs[next].timeCourse && entries[*pairs[next].timeCourse] == path) {
            current_ = next + 1;
            Row& row = rows_[next];
            row.opened = true;
            row.volumes = header.nrOfVolumes;
            row.repetitionTimeMs = header.repetitionTimeMs;
            if (const auto warning = repetitionTimeWarning(header.repetitionTimeMs)) {
                row.warnings.push_back("time course: " + *warning);
            }
            if (!pairs[next].merged.empty()) {
                row.mergedBefore = stateOf(pairs[next].merged);
            }
            return;
        }
    }
}

void RunReport::protocolLoaded(const std::string& path, std::string_view /*where*/,
                               const formats::Protocol& protocol) {
    Row* row = current();
    if (row == nullptr) {
        return;
    }
    const std::string& listed = list_.plan.list.entries[list_.plan.pairs[current_ - 1].protocol];
    row->protocolMismatch = protocolMismatch(listed, path);
    if (auto clash = conditionsSharingAName(protocol, path)) {
        row->faults.push_back(std::move(*clash));
    }
    for (const std::string& warning :
         protocolWarnings(protocol, row->volumes, row->repetitionTimeMs)) {
        row->warnings.push_back("protocol: " + warning);
    }
    if (options_.skipFirst) {
        if (auto note = skippedConditionNote(protocol)) {
            row->notes.push_back(std::move(*note));
        }
    }
}

void RunReport::saved(const std::string& path, const DesignMatrix& matrix) {
    Row* row = current();
    if (row == nullptr || row->baseSaved || path != list_.plan.pairs[current_ - 1].base) {
        unexpected_.emplace_back(current_, path);
        return;
    }
    row->baseSaved = true;
    wrote(current_ - 1, path, true);
    for (const Predictor& predictor : matrix.predictors()) {
        if (std::all_of(predictor.values.begin(), predictor.values.end(),
                        [](float value) { return value == 0.0f; })) {
            row->warnings.push_back("the saved predictor \"" + predictor.name +
                                    "\" is zero throughout");
        }
    }
}

void RunReport::refused(std::string_view why) {
    Row* row = current();
    if (row != nullptr && row->refusals.size() < kKeptRefusals) {
        row->refusals.push_back("host: " + oneLine(why));
    }
}

void RunReport::runEnded() {
    closeCurrent();
}

PairOutcome RunReport::outcomeOf(std::size_t index, std::size_t pairCount) const {
    PairOutcome outcome;
    outcome.pair = index + 1;
    outcome.pairCount = pairCount;
    if (index >= rows_.size()) {
        outcome.reason = missingPairs(list_).value_or("");
        return outcome;
    }
    const batch::PlannedPair& pair = list_.plan.pairs[index];
    const std::vector<std::string>& entries = list_.plan.list.entries;
    const Row& row = rows_[index];
    outcome.entry = pair.protocol + 1;
    outcome.protocol = entries[pair.protocol];
    outcome.volumes = row.volumes;
    outcome.warnings = row.warnings;
    outcome.notes = row.notes;
    std::vector<std::string> what;
    bool askCheck = false;  // the files' own faults may tell why
    if (row.protocolMismatch) {
        what.push_back(*row.protocolMismatch);
    }
    what.insert(what.end(), row.faults.begin(), row.faults.end());
    if (row.baseReplacedBy || row.mergedReplacedBy) {
        what.push_back(row.baseReplacedBy ? replacedText(pair.base, *row.baseReplacedBy + 1)
                                          : replacedText(pair.merged, *row.mergedReplacedBy + 1));
    }
    if (!pair.timeCourse) {
        what.emplace_back("no time course follows the protocol in the list");
    } else {
        outcome.timeCourse = entries[*pair.timeCourse];
        outcome.base = pair.base;
        outcome.baseOutcome = row.baseSaved ? BaseOutcome::Saved : BaseOutcome::NotSaved;
        if (!row.opened) {
            const paths::FileSet listFiles(list_.path, entries);
            what.push_back(listFiles.contains(pair.base)
                               ? "its design matrix " + pair.base +
                                     " is a file of the list, which the plug-in never replaces"
                               : "the run did not reach this pair");
        } else if (!row.baseSaved) {
            what.emplace_back("its design matrix was not saved");
            askCheck = true;
        }
        if (!pair.merged.empty()) {
            outcome.merged = pair.merged;
            outcome.mergedOutcome = MergedOutcome::NotWritten;
            std::error_code error;
            if (row.mergedReplacedBy) {
                // What the file holds now is another pair's.
                outcome.mergedOutcome = MergedOutcome::Replaced;
            } else if (row.mergedWritten &&
                       !std::filesystem::is_regular_file(outcome.merged, error)) {
                // A device or a folder under that name is no design matrix, and is not read.
                outcome.mergedOutcome = MergedOutcome::Incomplete;
                what.emplace_back("the merged design matrix is not a regular file");
            } else if (row.mergedWritten) {
                const formats::DesignTableRead read = formats::readDesignTable(outcome.merged);
                if (!read.table) {
                    outcome.mergedOutcome = MergedOutcome::Incomplete;
                    what.push_back("the merged design matrix is incomplete (" + read.error + ")");
                    askCheck = true;
                } else if (row.volumes >= 0 &&
                           read.table->nrOfVolumes() != static_cast<std::size_t>(row.volumes)) {
                    outcome.mergedOutcome = MergedOutcome::Incomplete;
                    what.push_back("the merged design matrix holds " +
                                   std::to_string(read.table->nrOfVolumes()) +
                                   " rows; the time course has " + std::to_string(row.volumes) +
                                   " volumes");
                    askCheck = true;
                } else {
                    outcome.mergedOutcome = MergedOutcome::Complete;
                }
            } else if (row.baseSaved) {
                what.emplace_back("the merged design matrix was not written");
                askCheck = true;
            }
        }
        std::size_t strays = 0;
        for (const batch::IdleEntry& idle : list_.plan.idle) {
            if (idle.pair == index && idle.reason == batch::IdleReason::NotRecognised &&
                strays++ == 0) {
                what.push_back("entry " + std::to_string(idle.entry + 1) + " (" +
                               entries[idle.entry] + ") in its range is of no kind: no confound " +
                               "is taken from it");
            }
        }
    }
    if (!row.refusals.empty()) {
        what.push_back(joined(row.refusals, " "));
    }
    if (options_.strict && !row.warnings.empty()) {
        what.emplace_back("it has warnings, which fail a pair under --strict");
    }
    outcome.ok = what.empty();
    outcome.reason = joined(what, "; ");
    if (askCheck) {
        // What the pair's own files hold that the plug-in could not use.
        std::vector<std::string> faults;
        for (const Finding& finding :
             checkPair(list_, index, options_.volumeDocument, options_.skipFirst).findings) {
            if (finding.verdict == Verdict::Fail) {
                faults.push_back(finding.text);
            }
        }
        if (!faults.empty()) {
            outcome.reason += ": " + joined(faults, "; ");
        }
    }
    return outcome;
}

ReportSummary RunReport::evaluate(const std::function<void(const PairOutcome&)>& each) const {
    ReportSummary summary;
    // One row for each pair the list declares but does not hold, as far as a report can hold
    // them; one for a list without any.
    std::size_t count = rows_.size();
    if (missingPairs(list_)) {
        const auto declared = static_cast<std::size_t>(std::max(0, list_.plan.list.declaredCount));
        count = std::max<std::size_t>({count, 1, std::min(declared, count + kMissingRows)});
    }
    for (std::size_t i = 0; i < count; ++i) {
        const PairOutcome outcome = outcomeOf(i, count);
        ++summary.pairs;
        summary.failed += outcome.ok ? 0U : 1U;
        summary.withWarnings += outcome.warnings.empty() ? 0U : 1U;
        each(outcome);
    }
    return summary;
}

std::vector<std::string> RunReport::produced() const {
    std::vector<std::string> paths;
    std::unordered_set<std::string> seen;
    const auto add = [&](const std::string& path) {
        if (seen.insert(std::filesystem::path(path).lexically_normal().string()).second) {
            paths.push_back(path);
        }
    };
    std::size_t next = 0;
    const auto addUnexpected = [&](std::size_t after) {
        for (; next < unexpected_.size() && unexpected_[next].first == after; ++next) {
            add(unexpected_[next].second);
        }
    };
    addUnexpected(0);
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].baseSaved) {
            add(list_.plan.pairs[i].base);
        }
        if (rows_[i].mergedWritten) {
            add(list_.plan.pairs[i].merged);
        }
        addUnexpected(i + 1);
    }
    return paths;
}

}  // namespace headless
