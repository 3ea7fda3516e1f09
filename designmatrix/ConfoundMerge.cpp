#include "designmatrix/ConfoundMerge.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <locale>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "designmatrix/ConfoundKinds.h"
#include "designmatrix/RecordDescription.h"
#include "host/HostOperations.h"
#include "paths/PathOperations.h"
#include "paths/SameFile.h"
#include "paths/WholeFile.h"
#include "text/DesignFileHeader.h"
#include "text/NumberFormatting.h"
#include "text/TextScanner.h"

namespace designmatrix {

namespace {

// The confounds of one merge; an absent one is null.
struct Confounds {
    const DesignMatrixFile* motion = nullptr;
    const DesignMatrixFile* heartRate = nullptr;
    const DesignMatrixFile* respiration = nullptr;
};

// mergeConfounds accepts confounds at least as long as the base design; mergeAllConfounds wants
// all three exactly as long.
enum class DataPointRule { AtLeastBase, EqualToBase };

// True when the record holds every colour, name and value its counts promise (so the writer
// never reaches past a column), and was read without a failure.
bool isComplete(const DesignMatrixFile& record, bool isMotion) {
    if (!record.readOk || record.nrOfDataPoints < 0) {
        return false;
    }
    const auto points = static_cast<std::size_t>(record.nrOfDataPoints);
    if (isMotion) {
        for (const auto& column : record.motionColumns) {
            if (column.size() < points) {
                return false;
            }
        }
        return true;
    }
    if (record.nrOfPredictors < 0) {
        return false;
    }
    const auto predictors = static_cast<std::size_t>(record.nrOfPredictors);
    if (record.predictorColors.size() != predictors || record.predictorNames.size() != predictors ||
        record.predictorValues.size() != predictors) {
        return false;
    }
    for (std::size_t j = 0; j < predictors; ++j) {
        if (record.predictorColors[j].size() != 3 || record.predictorValues[j].size() < points) {
            return false;
        }
    }
    return true;
}

// Checks every confound the merge will read; logs one line per record that is missing or
// incomplete.
bool confoundsAreComplete(const Confounds& confounds, bool hasMotion, bool hasHeartRate,
                          bool hasRespiration) {
    bool complete = true;
    const auto check = [&](bool present, const DesignMatrixFile* record, bool isMotion,
                           const char* role) {
        if (!present) {
            return;
        }
        if (record == nullptr) {
            host::logFormat("No %s were loaded: no merged design matrix is written.", role);
            complete = false;
        } else if (!isComplete(*record, isMotion)) {
            host::logFormat(
                "Confounds from %s were not read completely: no merged design matrix is written.",
                describeRecord(*record).c_str());
            complete = false;
        }
    };
    check(hasMotion, confounds.motion, true, "motion estimates");
    check(hasHeartRate, confounds.heartRate, false, "heart-rate predictors");
    check(hasRespiration, confounds.respiration, false, "respiration predictors");
    return complete;
}

// True when the new design matrix would replace the base or a confound file.
bool overwritesAnInput(const std::string& newPath, const std::string& sdmPath,
                       const Confounds& confounds) {
    if (paths::isSameFile(newPath, sdmPath)) {
        return true;
    }
    for (const DesignMatrixFile* record :
         {confounds.motion, confounds.heartRate, confounds.respiration}) {
        if (record != nullptr && !record->sourcePath.empty() &&
            paths::isSameFile(newPath, record->sourcePath)) {
            return true;
        }
    }
    return false;
}

// The base design matrix, read entry by entry. Every read is checked; a failed one logs where
// the base stopped and returns false.
class BaseDesignMatrix {
  public:
    explicit BaseDesignMatrix(const std::string& path) : path_(path), file_(path), tokens_(file_) {}

    bool isOpen() const { return file_.is_open(); }

    // Reads the whole header; what it lacks is reported by entry() when the merge reaches it.
    void readHeader() {
        text::readDesignFileHeader(tokens_, text::DesignFileLayout::DesignMatrix, header_);
    }

    // A header entry, from the header read: true when it was read whole; false, with a log line
    // naming `what`, when the header stopped at it.
    bool entry(text::HeaderEntry which, const char* what) const {
        return header_.has(which) || stopped(std::string("the ") + what);
    }
    const text::DesignFileHeader& header() const { return header_; }

    bool colour(std::int32_t& component, std::int32_t predictor, int which) {
        return tokens_.integer(component) ||
               stopped(text::formatText("colour component %d of predictor %d", which + 1,
                                        predictor + 1));
    }

    bool name(std::string& token, std::int32_t predictor) {
        if (tokens_.name(token)) {
            return true;
        }
        const std::string place = text::formatText("the name of predictor %d", predictor + 1);
        if (tokens_.eof()) {
            return stopped(place);
        }
        host::logFormat(
            "Problem with reading %s: %s does not close its double quote on its line. The merged "
            "design matrix is left incomplete.",
            path_.c_str(), place.c_str());
        return false;
    }

    // A value and the characters it was read from, valid until the next read.
    bool value(double& number, std::string_view& text, std::int32_t predictor, std::int32_t row) {
        return tokens_.number(number, text) ||
               stopped(text::formatText("value %d of row %d", predictor + 1, row + 1));
    }

    // Logs that the header holds something the merge cannot use; returns false.
    bool invalid(const std::string& problem) const {
        host::logFormat("Problem with reading %s: %s. The merged design matrix is left incomplete.",
                        path_.c_str(), problem.c_str());
        return false;
    }

  private:
    bool stopped(const std::string& place) const {
        if (tokens_.eof()) {
            host::logFormat(
                "Problem with reading %s: the file ends before %s. The merged design matrix is "
                "left incomplete.",
                path_.c_str(), place.c_str());
        } else {
            host::logFormat(
                "Problem with reading %s: %s is not a number. The merged design matrix is left "
                "incomplete.",
                path_.c_str(), place.c_str());
        }
        return false;
    }

    const std::string& path_;
    std::ifstream file_;
    text::TextScanner tokens_;
    text::DesignFileHeader header_;
};

// Whether every confound holds enough data points for the base design matrix (equal to its count
// or at least as many, as the rule says); logs why not.
bool dataPointsSuffice(const Confounds& confounds, std::int32_t basePoints, DataPointRule rule) {
    if (rule == DataPointRule::EqualToBase) {
        if (confounds.motion->nrOfDataPoints == basePoints &&
            confounds.heartRate->nrOfDataPoints == basePoints &&
            confounds.respiration->nrOfDataPoints == basePoints) {
            return true;
        }
        host::logFormat(
            "Number of datapoints in *.sdm/*.rtc files (3DMC %d, HR %d, RVT %d) differs from the "
            "design matrix (%d)!",
            confounds.motion->nrOfDataPoints, confounds.heartRate->nrOfDataPoints,
            confounds.respiration->nrOfDataPoints, basePoints);
        return false;
    }
    bool sufficient = true;
    for (const DesignMatrixFile* record :
         {confounds.motion, confounds.heartRate, confounds.respiration}) {
        if (record != nullptr && record->nrOfDataPoints < basePoints) {
            host::logText("Number of datapoints in *.sdm/*.rtc file(s) not sufficient!");
            host::logFormat("%s holds %d data points; the design matrix has %d.",
                            describeRecord(*record).c_str(), record->nrOfDataPoints, basePoints);
            sufficient = false;
        }
    }
    return sufficient;
}

// Writes a colour triple, each integer followed by one space.
void writeColour(std::ostream& out, const std::int32_t* colour) {
    out << colour[0] << ' ' << colour[1] << ' ' << colour[2] << ' ';
}

// A confound value and its tab, in its kind's format.
void writeValue(text::TextLine& line, ConfoundKind kind, double value) {
    if (confoundKind(kind).format == ValueFormat::Default) {
        line.defaultNotation(value);
    } else {
        line.sixDecimals(value);
    }
    line.character('\t');
}

// One merge: copies the base design matrix into the new file entry by entry, the confounds added
// ahead of the constant. Each part returns false when it stopped; what was written stays.
class MergedDesignMatrix {
  public:
    MergedDesignMatrix(BaseDesignMatrix& base, std::ostream& out, const Confounds& confounds)
        : base_(base), out_(out), confounds_(confounds) {}

    // Lines 1 to 7: version, counts (with the data-point test), constant and first confound.
    bool header(const std::string& sdmPath, const std::string& newPath, DataPointRule rule) {
        using text::HeaderEntry;
        base_.readHeader();
        const text::DesignFileHeader& header = base_.header();
        const auto key = [&](HeaderEntry entry) -> const std::string& {
            return header.keys[static_cast<std::size_t>(entry)];
        };
        if (!base_.entry(HeaderEntry::FileVersion, "version entry")) {
            return false;
        }
        const std::int32_t version = header.fileVersion;
        if (version > 1) {
            host::logFormat(
                "Design matrix file version %d of %s is not supported: the merged design matrix "
                "%s is left empty.",
                version, sdmPath.c_str(), newPath.c_str());
            return false;
        }
        out_ << key(HeaderEntry::FileVersion) << ' ' << version << "\n\n";

        if (!base_.entry(HeaderEntry::NrOfPredictors, "predictor-count entry")) {
            return false;
        }
        predictors_ = header.nrOfPredictors;
        if (predictors_ < 0) {
            return base_.invalid(
                text::formatText("the predictor count %d is negative", predictors_));
        }
        // A motion record always adds its six columns, whatever its header said.
        std::int64_t total = predictors_;
        if (confounds_.motion != nullptr) {
            total += static_cast<std::int64_t>(kMotionColumnCount);
        }
        for (const DesignMatrixFile* record : {confounds_.heartRate, confounds_.respiration}) {
            if (record != nullptr) {
                total += record->nrOfPredictors;
            }
        }
        out_ << key(HeaderEntry::NrOfPredictors) << ' ' << total << '\n';

        if (!base_.entry(HeaderEntry::NrOfDataPoints, "data-point entry")) {
            return false;
        }
        points_ = header.nrOfDataPoints;
        if (points_ < 0) {
            return base_.invalid(
                text::formatText("the number of data points %d is negative", points_));
        }
        out_ << key(HeaderEntry::NrOfDataPoints) << ' ' << points_ << '\n';
        if (!dataPointsSuffice(confounds_, points_, rule)) {
            return false;
        }

        if (!base_.entry(HeaderEntry::IncludesConstant, "constant entry")) {
            return false;
        }
        const std::int32_t constant = header.includesConstant;
        holdsConstant_ = constant != 0;
        if (holdsConstant_ && predictors_ == 0) {
            return base_.invalid("it declares a constant but no predictor");
        }
        out_ << key(HeaderEntry::IncludesConstant) << ' ' << constant << '\n';
        if (!base_.entry(HeaderEntry::FirstConfound, "first-confound entry")) {
            return false;
        }
        out_ << key(HeaderEntry::FirstConfound) << ' ' << header.firstConfound << "\n\n";
        // With a constant, the last base predictor's entries are held back and written last.
        copiedInPlace_ = holdsConstant_ ? predictors_ - 1 : predictors_;
        return true;
    }

    bool colours() {
        std::array<std::int32_t, 3> held{};
        for (std::int32_t p = 0; p < predictors_; ++p) {
            std::array<std::int32_t, 3> colour{};
            for (int c = 0; c < 3; ++c) {
                if (!base_.colour(colour[static_cast<std::size_t>(c)], p, c)) {
                    return false;
                }
            }
            if (p < copiedInPlace_) {
                writeColour(out_, colour.data());
            } else {
                held = colour;
            }
        }
        if (confounds_.motion != nullptr) {
            for (const auto& colour : confounds_.motion->motionColors) {
                writeColour(out_, colour.data());
            }
        }
        for (const DesignMatrixFile* record : {confounds_.heartRate, confounds_.respiration}) {
            if (record != nullptr) {
                for (const auto& colour : record->predictorColors) {
                    writeColour(out_, colour.data());
                }
            }
        }
        if (holdsConstant_) {
            writeColour(out_, held.data());
        }
        out_ << '\n';
        return true;
    }

    bool names() {
        std::string held;
        for (std::int32_t p = 0; p < predictors_; ++p) {
            std::string name;
            if (!base_.name(name, p)) {
                return false;
            }
            if (p < copiedInPlace_) {
                out_ << name << '\t';
            } else {
                held = std::move(name);
            }
        }
        if (confounds_.motion != nullptr) {
            for (const char* name : confoundKind(ConfoundKind::Motion).fixedNames) {
                out_ << name << '\t';
            }
        }
        for (const DesignMatrixFile* record : {confounds_.heartRate, confounds_.respiration}) {
            if (record != nullptr) {
                for (const auto& name : record->predictorNames) {
                    out_ << name << '\t';
                }
            }
        }
        if (holdsConstant_) {
            out_ << '\t' << held;
        }
        out_ << '\n';
        return true;
    }

    // Rows are composed in memory and written a block at a time; what a row the base cannot
    // complete holds up to where it stopped is written too.
    bool rows() {
        // Kept well below the size from which allocations become mappings of their own.
        constexpr std::size_t kBlock = 32 * 1024;
        text::TextLine line(kBlock + 8 * 1024);
        const auto flush = [&] {
            out_.write(line.data(), static_cast<std::streamsize>(line.size()));
            line.clear();
        };
        for (std::int32_t row = 0; row < points_; ++row) {
            const auto i = static_cast<std::size_t>(row);
            double held = 0.0;
            for (std::int32_t p = 0; p < predictors_; ++p) {
                double value = 0.0;
                std::string_view read;
                if (!base_.value(value, read, p, row)) {
                    flush();
                    return false;
                }
                if (p < copiedInPlace_) {
                    // A value read in the very form the stream writes is copied as it stands.
                    if (text::isDefaultNotation(read)) {
                        line.text(read);
                    } else {
                        line.defaultNotation(value);
                    }
                    line.character('\t');
                } else {
                    held = value;
                }
            }
            if (confounds_.motion != nullptr) {
                for (const auto& column : confounds_.motion->motionColumns) {
                    writeValue(line, ConfoundKind::Motion, column[i]);
                }
            }
            for (const auto& [kind, record] :
                 {std::pair{ConfoundKind::HeartRate, confounds_.heartRate},
                  std::pair{ConfoundKind::Respiration, confounds_.respiration}}) {
                if (record != nullptr) {
                    for (const auto& column : record->predictorValues) {
                        writeValue(line, kind, column[i]);
                    }
                }
            }
            if (holdsConstant_) {
                line.sixDecimals(held);
            }
            line.character('\n');
            if (line.size() >= kBlock) {
                flush();
            }
        }
        flush();
        return true;
    }

  private:
    BaseDesignMatrix& base_;
    std::ostream& out_;
    const Confounds& confounds_;
    std::int32_t predictors_ = 0;
    std::int32_t points_ = 0;
    bool holdsConstant_ = false;
    std::int32_t copiedInPlace_ = 0;
};

// Writes the merged design matrix to newPath unless that would replace an input or a file of
// the list, or the base cannot be opened; every stop is logged.
void writeMerged(const std::string& sdmPath, const std::string& newPath, const Confounds& confounds,
                 DataPointRule rule, const paths::FileSet* listFiles) {
    if (overwritesAnInput(newPath, sdmPath, confounds) ||
        (listFiles != nullptr && listFiles->contains(newPath))) {
        host::logFormat(
            "The merged design matrix %s would replace one of its input files or a file of the "
            "list: nothing is written.",
            newPath.c_str());
        return;
    }
    BaseDesignMatrix base(sdmPath);
    if (!base.isOpen()) {
        host::logFormat(
            "Unable to open the design matrix file %s: no merged design matrix is written.",
            sdmPath.c_str());
        return;
    }
    // What was written stands under the name when the writer ends, however it ends.
    paths::WholeFile file(newPath, paths::WholeFile::Mode::Text, paths::WholeFile::Ending::Commit);
    if (!file.isOpen()) {
        host::logText("Unable to open a file for writing.");
        return;
    }
    std::ostream& out = file.stream();
    out.imbue(std::locale::classic());

    MergedDesignMatrix merged(base, out, confounds);
    if (merged.header(sdmPath, newPath, rule) && merged.colours() && merged.names() &&
        merged.rows()) {
        if (!file.commit()) {
            host::logFormat("Problem with writing %s: the merged design matrix may be incomplete.",
                            newPath.c_str());
        }
    }
}

}  // namespace

std::string mergeConfounds(const std::string& sdmPath, const DesignMatrixFile* motion,
                           const DesignMatrixFile* heartRate, const DesignMatrixFile* respiration,
                           bool hasMotion, bool hasHeartRate, bool hasRespiration,
                           const paths::FileSet* listFiles) {
    std::string newPath;
    try {
        Confounds confounds;
        confounds.motion = hasMotion ? motion : nullptr;
        confounds.heartRate = hasHeartRate ? heartRate : nullptr;
        confounds.respiration = hasRespiration ? respiration : nullptr;
        if (!confoundsAreComplete(confounds, hasMotion, hasHeartRate, hasRespiration)) {
            return newPath;
        }
        const auto z = [](bool present, const DesignMatrixFile* record) {
            return present ? std::optional(record->zTransformed) : std::nullopt;
        };
        std::string name = mergedDesignMatrixName(
            sdmPath,
            {z(hasMotion, motion), z(hasHeartRate, heartRate), z(hasRespiration, respiration)});
        newPath = std::move(name);
        host::logFormat("New filename: %s", newPath.c_str());
        writeMerged(sdmPath, newPath, confounds, DataPointRule::AtLeastBase, listFiles);
    } catch (...) {
        host::logText(
            "Error while converting PRT to SDM with any of 3DMC, heart rate and respiration "
            "files.");
    }
    return newPath;
}

std::string mergeAllConfounds(const std::string& sdmPath, const DesignMatrixFile& motion,
                              const DesignMatrixFile& heartRate,
                              const DesignMatrixFile& respiration,
                              const paths::FileSet* listFiles) {
    std::string newPath;
    try {
        const Confounds confounds{&motion, &heartRate, &respiration};
        if (!confoundsAreComplete(confounds, true, true, true)) {
            return newPath;
        }
        // One mark for all three, as the motion record was transformed.
        const bool z = motion.zTransformed;
        std::string name = mergedDesignMatrixName(sdmPath, {z, z, z});
        newPath = std::move(name);
        host::logFormat("New filename: %s", newPath.c_str());
        writeMerged(sdmPath, newPath, confounds, DataPointRule::EqualToBase, listFiles);
    } catch (...) {
        host::logText(
            "Error while converting PRT to SDM with 3DMC, heart rate and respiration files.");
    }
    return newPath;
}

}  // namespace designmatrix
