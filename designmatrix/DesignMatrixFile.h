#pragma once

// One loaded confound file: motion estimates, heart-rate or respiration predictors.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace designmatrix {

inline constexpr std::int32_t kMotionEstimatesKind = 1;
inline constexpr std::int32_t kHeartRateKind = 2;
inline constexpr std::int32_t kRespirationKind = 3;

inline constexpr std::size_t kMotionColumnCount = 6;

// Rows of int32 values, each row allocated on its own.
using IntTable = std::vector<std::vector<std::int32_t>>;

// A table of `rows` rows of `columns` values; no rows for rows == 0. Throws std::bad_alloc or
// std::length_error when it cannot be allocated (a negative count included).
IntTable newIntTable(std::int32_t rows, std::int32_t columns);

// After a failed read (readOk false) the record holds what was read until the failure: its counts
// need not match its columns, so it is not to be merged or transformed.
struct DesignMatrixFile {
    bool readOk = true;
    std::int32_t fileVersion = 0;
    std::int32_t nrOfPredictors = 0;
    std::int32_t nrOfDataPoints = 0;
    std::int32_t includesConstant = 0;
    std::int32_t firstConfound = 0;
    bool zTransformed = false;
    std::int32_t kind = 0;
    // Kind 1 only: six colour triples (red, green, blue) and six columns of nrOfDataPoints values,
    // translation X, Y, Z, rotation X, Y, Z.
    std::array<std::array<std::int32_t, 3>, kMotionColumnCount> motionColors{};
    std::array<std::vector<double>, kMotionColumnCount> motionColumns;
    // Kinds 2 and 3 only: per predictor a colour row of three values, its name token as read
    // (quotation marks included) and its column of nrOfDataPoints values.
    IntTable predictorColors;
    std::vector<std::string> predictorNames;
    std::vector<std::vector<double>> predictorValues;
    // The path the record was read from, for messages that name the file; empty for a record
    // made in memory.
    std::string sourcePath;
    // After a failed read: the first line the reader logged about it.
    std::string failure;
};

using DesignMatrixFilePtr = std::unique_ptr<DesignMatrixFile>;

// Frees everything the record owns, the record included.
void release(DesignMatrixFilePtr record);

}  // namespace designmatrix
