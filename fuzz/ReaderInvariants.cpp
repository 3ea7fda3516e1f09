#include "fuzz/ReaderInvariants.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "fuzz/FuzzSupport.h"

namespace fuzzsupport {

namespace {

constexpr const char* kFailureMessages[] = {
    "Unable to open the motion estimates file.",
    "Unable to open the design matrix file.",
    "Problem with reading *.rtc file. Please check results.",
    "Problem with reading *.sdm file. Please check results.",
};

bool allFinite(const std::vector<double>& column) {
    for (double value : column) {
        if (!std::isfinite(value)) {
            return false;
        }
    }
    return true;
}

void checkMotion(const designmatrix::DesignMatrixFile& record) {
    const auto points = static_cast<std::size_t>(record.nrOfDataPoints);
    for (const auto& column : record.motionColumns) {
        FUZZ_CHECK(column.size() == points, "a motion column differs from nrOfDataPoints");
        FUZZ_CHECK(allFinite(column), "a motion value is not finite");
    }
    FUZZ_CHECK(record.predictorColors.empty() && record.predictorNames.empty() &&
                   record.predictorValues.empty(),
               "a motion record holds predictor columns");
}

void checkPredictors(const designmatrix::DesignMatrixFile& record) {
    FUZZ_CHECK(record.nrOfPredictors >= 0, "a readOk record has a negative predictor count");
    const auto predictors = static_cast<std::size_t>(record.nrOfPredictors);
    const auto points = static_cast<std::size_t>(record.nrOfDataPoints);
    FUZZ_CHECK(record.predictorColors.size() == predictors, "colour rows differ from the count");
    FUZZ_CHECK(record.predictorNames.size() == predictors, "names differ from the count");
    FUZZ_CHECK(record.predictorValues.size() == predictors, "columns differ from the count");
    for (std::size_t j = 0; j < predictors; ++j) {
        FUZZ_CHECK(record.predictorColors[j].size() == 3, "a colour row is not a triple");
        FUZZ_CHECK(record.predictorValues[j].size() == points,
                   "a column differs from nrOfDataPoints");
        FUZZ_CHECK(allFinite(record.predictorValues[j]), "a value is not finite");
        FUZZ_CHECK(!record.predictorNames[j].empty(), "a kept name is empty");
    }
    FUZZ_CHECK(record.includesConstant == 0, "a read record still declares a constant");
}

// The row rule: a row logged as holding other than the declared number of values fails the
// read, right before the reader's failure message, and names a row and counts that can be true.
void checkRowRule(const designmatrix::DesignMatrixFile& record, const std::string& path) {
    const std::vector<std::string>& entries = loggedEntries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string& entry = entries[i];
        if (!entry.starts_with("Row ")) {
            continue;
        }
        FUZZ_CHECK(!record.readOk, "a row of the wrong length was logged for a readOk record");
        FUZZ_CHECK(i + 2 == entries.size(), "the row line is not followed by the failure alone");
        int row = 0;
        int held = 0;
        int declared = 0;
        const int found =
            std::sscanf(entry.c_str(), "Row %d of", &row) == 1 &&
                    entry.find(" of " + path + " holds ") != std::string::npos
                ? std::sscanf(entry.c_str() + entry.find(" holds "),
                              " holds %d values; the file declares %d", &held, &declared)
                : 0;
        FUZZ_CHECK(found == 2, "the row line does not read as the rule words it");
        FUZZ_CHECK(row >= 1 && held >= 0 && held != declared,
                   "the row line names an impossible row or a row that fits");
    }
}

}  // namespace

void checkReader(const std::uint8_t* data, std::size_t size, const char* suffix, ReaderRole role,
                 std::int32_t kind,
                 const std::function<designmatrix::DesignMatrixFilePtr(const char*)>& read) {
    startCapturedLog();
    const std::string path = scratchFile(std::string("confound") + suffix);
    writeBytes(path, data, size);

    designmatrix::DesignMatrixFilePtr record = read(path.c_str());
    FUZZ_CHECK(record != nullptr, "a reader returned no record");
    FUZZ_CHECK(record->kind == kind, "the record's kind is not the one asked for");
    FUZZ_CHECK(!record->zTransformed, "a record comes back z-transformed");
    FUZZ_CHECK(logged("Reading file: " + path), "the file's name is not logged");
    if (record->readOk) {
        FUZZ_CHECK(record->nrOfDataPoints >= 0, "a readOk record has a negative data-point count");
        if (role == ReaderRole::Motion) {
            checkMotion(*record);
        } else {
            checkPredictors(*record);
        }
        for (const char* message : kFailureMessages) {
            FUZZ_CHECK(!logged(message), "a readOk record comes with a failure message");
        }
    } else {
        bool reported = false;
        for (const char* message : kFailureMessages) {
            reported = reported || logged(message);
        }
        FUZZ_CHECK(reported, "a failed read logs none of the failure messages");
    }
    checkRowRule(*record, path);
    designmatrix::release(std::move(record));
    FUZZ_CHECK(readBytes(path) == std::string(reinterpret_cast<const char*>(data), size),
               "the reader changed its input file");
}

}  // namespace fuzzsupport
