#include "headless/program/RunReport.h"

#include <filesystem>
#include <unordered_set>

#include "designmatrix/ProtocolToDesignMatrix.h"
#include "headless/HostSession.h"
#include "headless/ProtocolWarnings.h"
#include "headless/program/FailureLines.h"
#include "headless/program/ProtocolPlace.h"
#include "plot/DesignTable.h"

namespace headless {

namespace {

constexpr std::string_view kNoTimeCourse = "No VTC file found for PRT";
constexpr std::string_view kLoadStart = "\nLoad ";
constexpr std::string_view kLoadEnd = " to VMR...";
constexpr std::string_view kNewFilename = "New filename: ";
constexpr std::string_view kNotOpened = "Unable to open a file for writing.";
constexpr std::string_view kMergedRefused = "The merged design matrix ";
constexpr std::string_view kBaseRefused = "The design matrix ";
constexpr std::string_view kWouldReplace = " would replace ";
// Failure lines kept per pair: enough to say why, bounded whatever a run logs.
constexpr std::size_t kKeptLines = 4;

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

// The path named between `start` and `end` in text ("The design matrix PATH would replace").
std::string_view pathBetween(std::string_view text, std::string_view start, std::string_view end) {
    const std::size_t stop = text.find(end, start.size());
    return stop == std::string_view::npos ? std::string_view()
                                          : text.substr(start.size(), stop - start.size());
}

std::string joined(const std::vector<std::string>& parts, std::string_view separator) {
    std::string text;
    for (const std::string& part : parts) {
        if (!text.empty()) {
            text += separator;
        }
        text += part;
    }
    return text;
}

}  // namespace

RunReport::RunReport(const ListPlan& plan, bool zTransform, Console& console)
    : zTransform_(zTransform), console_(console), unreadable_(plan.unreadable.value_or("")) {
    rows_.reserve(plan.pairs.size());
    std::size_t textLength = 0;
    for (const ListPair& pair : plan.pairs) {
        textLength += plan.entries[pair.protocol].size() +
                      (pair.timeCourse ? plan.entries[*pair.timeCourse].size() : 0);
    }
    texts_.reserve(textLength);
    for (const ListPair& pair : plan.pairs) {
        Row row;
        row.textAt = texts_.size();
        row.protocolLength = static_cast<std::uint32_t>(plan.entries[pair.protocol].size());
        texts_ += plan.entries[pair.protocol];
        row.entry = static_cast<std::uint32_t>(pair.protocol + 1);
        if (pair.timeCourse) {
            row.timeCourseLength =
                static_cast<std::uint32_t>(plan.entries[*pair.timeCourse].size());
            texts_ += plan.entries[*pair.timeCourse];
            for (std::size_t slot = 0; slot < kConfoundSlots; ++slot) {
                row.confounds[slot] = pair.confounds[slot].has_value();
            }
            if (!pair.notRecognised.empty()) {
                const std::size_t first = pair.notRecognised.front();
                row.more().stray =
                    "entry " + std::to_string(first + 1) + " (" + plan.entries[first] + ")";
                row.strays = static_cast<std::uint32_t>(pair.notRecognised.size());
            }
        }
        rows_.push_back(std::move(row));
    }
}

std::string_view RunReport::protocolOf(const Row& row) const {
    return std::string_view(texts_).substr(row.textAt, row.protocolLength);
}

std::string_view RunReport::timeCourseOf(const Row& row) const {
    return std::string_view(texts_).substr(row.textAt + row.protocolLength, row.timeCourseLength);
}

std::string RunReport::baseOf(const Row& row) const {
    return designmatrix::designMatrixPath(std::string(protocolOf(row)),
                                          std::string(timeCourseOf(row)));
}

std::string RunReport::mergedOf(const Row& row) const {
    return mergedDesignMatrixPath(baseOf(row), row.confounds, zTransform_);
}

RunReport::Row* RunReport::current() {
    return current_ == 0 ? nullptr : &rows_[current_ - 1];
}

template <typename Fits>
RunReport::Row* RunReport::openNext(Fits fits) {
    for (std::size_t next = current_; next < rows_.size(); ++next) {
        if (fits(rows_[next])) {
            current_ = next + 1;
            rows_[next].opened = true;
            return &rows_[next];
        }
    }
    return nullptr;
}

void RunReport::noteFailure(std::string_view text, bool specific) {
    Row* row = current();
    if (row == nullptr) {
        return;
    }
    std::vector<std::string>& lines = specific ? row->more().failures : row->more().general;
    if (lines.size() < kKeptLines) {
        lines.push_back(oneLine(text));
    }
}

void RunReport::fileChosen(const std::string& /*path*/) {
    listHandedOut_ = true;
}

void RunReport::logged(std::string_view text) {
    const Pending pending = std::exchange(pending_, Pending::None);
    if (text == kNoTimeCourse) {
        openNext([](const Row& row) { return row.timeCourseLength == 0; });
    } else if (text.starts_with(kLoadStart) && text.ends_with(kLoadEnd)) {
        const std::string_view path =
            text.substr(kLoadStart.size(), text.size() - kLoadStart.size() - kLoadEnd.size());
        Row* row = current();
        // A pair refused before its time course was loaded is already open.
        if (row == nullptr || !row->openedByRefusal || row->loadSeen ||
            timeCourseOf(*row) != path) {
            row = openNext([&](const Row& candidate) { return timeCourseOf(candidate) == path; });
        }
        if (row != nullptr) {
            row->loadSeen = true;
        }
        return;
    } else if (text.starts_with(kNewFilename)) {
        const std::string path(text.substr(kNewFilename.size()));
        Row* row = current();
        if (row != nullptr && row->hasConfounds() && path == mergedOf(*row)) {
            row->mergedWritten = true;
            pending_ = Pending::Row;
        } else {
            unexpected_.emplace_back(current_, path);
            pending_ = Pending::Unexpected;
        }
        return;
    } else if (pending != Pending::None &&
               (text == kNotOpened ||
                (text.starts_with(kMergedRefused) && text.find(kWouldReplace) != text.npos))) {
        // The file named right before was not written.
        if (pending == Pending::Row) {
            current()->mergedWritten = false;
        } else {
            unexpected_.pop_back();
        }
    } else if (text.starts_with(kBaseRefused) && text.find(kWouldReplace) != text.npos) {
        const std::string path(pathBetween(text, kBaseRefused, kWouldReplace));
        Row* row = current();
        if (row == nullptr || !row->loadSeen || row->baseSaved || baseOf(*row) != path) {
            // Refused before its time course was loaded: the refusal opens the pair.
            row = openNext([&](const Row& candidate) {
                return candidate.timeCourseLength > 0 && baseOf(candidate) == path;
            });
            if (row != nullptr) {
                row->openedByRefusal = true;
            }
        }
    }
    switch (failureLine(text)) {
        case FailureLine::Specific:
            noteFailure(text, true);
            break;
        case FailureLine::General:
            noteFailure(text, false);
            break;
        case FailureLine::None:
            break;
    }
}

void RunReport::linked(const std::string& path, int volumes) {
    Row* row = current();
    if (row != nullptr && timeCourseOf(*row) == path) {
        row->volumes = volumes;
    }
}

void RunReport::protocolLoaded(const std::string& name, const std::string& path,
                               std::string_view where) {
    Row* row = current();
    if (row == nullptr) {
        return;
    }
    if (const auto elsewhere = protocolElsewhere(std::string(protocolOf(*row)), path, where)) {
        console_.note("protocol " + name + ": " + *elsewhere);
        if (row->more().notes.size() < kKeptLines) {
            row->more().notes.push_back(*elsewhere);
        }
    }
    const auto& loaded = hostSession().protocol;
    if (const auto clash = loaded ? conditionsSharingAName(*loaded, path) : std::nullopt) {
        row->more().faults.push_back(*clash);
    }
}

void RunReport::saved(const std::string& path) {
    pending_ = Pending::None;
    Row* row = current();
    if (row != nullptr && row->timeCourseLength > 0 && path == baseOf(*row)) {
        row->baseSaved = true;
    } else {
        unexpected_.emplace_back(current_, path);
    }
}

void RunReport::refused(std::string_view why) {
    Row* row = current();
    if (row == nullptr) {
        return;
    }
    row->hostRefused = true;
    if (row->more().failures.size() < kKeptLines) {
        row->more().failures.push_back("host: " + oneLine(why));
    }
}

PairOutcome RunReport::outcomeOf(std::size_t index) const {
    const Row& row = rows_[index];
    PairOutcome outcome;
    outcome.pair = index + 1;
    outcome.pairCount = rows_.size();
    outcome.entry = row.entry;
    outcome.protocol = protocolOf(row);
    outcome.timeCourse = timeCourseOf(row);
    outcome.volumes = row.volumes;
    static const RowDetails kNone;
    const RowDetails& details = row.details ? *row.details : kNone;
    outcome.notes = joined(details.notes, "; ");
    std::vector<std::string> what;
    if (row.timeCourseLength == 0) {
        what.emplace_back("no time course follows the protocol in the list");
    } else {
        outcome.base = baseOf(row);
        outcome.baseOutcome = row.baseSaved ? BaseOutcome::Saved : BaseOutcome::NotSaved;
        if (!row.opened) {
            what.emplace_back("the run did not reach this pair");
        } else if (!row.baseSaved) {
            what.emplace_back("its design matrix was not saved");
        }
        if (row.hasConfounds()) {
            outcome.merged = mergedOf(row);
            outcome.mergedOutcome = MergedOutcome::NotWritten;
            std::error_code error;
            if (row.mergedWritten && !std::filesystem::is_regular_file(outcome.merged, error)) {
                // A device or a folder under that name is no design matrix, and is not read.
                outcome.mergedOutcome = MergedOutcome::Incomplete;
                what.emplace_back("the merged design matrix is not a regular file");
            } else if (row.mergedWritten) {
                const plot::DesignTableRead read = plot::readDesignTable(outcome.merged);
                if (!read.table) {
                    outcome.mergedOutcome = MergedOutcome::Incomplete;
                    what.push_back("the merged design matrix is incomplete (" + read.error + ")");
                } else if (row.volumes >= 0 &&
                           read.table->nrOfVolumes() != static_cast<std::size_t>(row.volumes)) {
                    outcome.mergedOutcome = MergedOutcome::Incomplete;
                    what.push_back("the merged design matrix holds " +
                                   std::to_string(read.table->nrOfVolumes()) +
                                   " rows; the time course has " + std::to_string(row.volumes) +
                                   " volumes");
                } else {
                    outcome.mergedOutcome = MergedOutcome::Complete;
                }
            } else if (row.baseSaved) {
                what.emplace_back("the merged design matrix was not written");
            }
        }
        if (row.strays > 0) {
            const std::string more =
                row.strays > 1 ? " (and " + std::to_string(row.strays - 1) + " more)" : "";
            what.push_back(details.stray + more +
                           " in its range is of no kind: no confound is taken from it; kinds are "
                           "told by \".prt\", \".vtc\", \"_3DMC\", \"_HR\" and \"_RVT\" in this "
                           "case");
        }
    }
    what.insert(what.end(), details.faults.begin(), details.faults.end());
    const std::vector<std::string>& quoted =
        !details.failures.empty() ? details.failures : details.general;
    if (what.empty() && (!quoted.empty() || row.hostRefused)) {
        what.emplace_back("the log reports a failure");
    }
    outcome.ok = what.empty();
    if (!outcome.ok) {
        outcome.reason = joined(what, "; ");
        if (!quoted.empty()) {
            outcome.reason += ": " + joined(quoted, " ");
        }
    }
    return outcome;
}

ReportSummary RunReport::evaluate(const std::function<void(const PairOutcome&)>& each) const {
    ReportSummary summary;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const PairOutcome outcome = outcomeOf(i);
        ++summary.pairs;
        if (!outcome.ok) {
            ++summary.failed;
        }
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
            add(baseOf(rows_[i]));
        }
        if (rows_[i].mergedWritten) {
            add(mergedOf(rows_[i]));
        }
        addUnexpected(i + 1);
    }
    return paths;
}

}  // namespace headless
