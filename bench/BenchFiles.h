#pragma once

// Files and records the benchmarks work on, written the way the workstation and the physiology
// tools write them (six decimals), from a fixed seed so every run reads the same bytes.

#include <cstdint>
#include <filesystem>
#include <string>

#include "designmatrix/DesignMatrixFile.h"
#include "tests/support/TestSupport.h"

namespace bench {

// A folder of its own under the system's temporary folder, removed with everything in it when
// the object goes.
using ScratchFolder = testsupport::TempDir;

// A base design matrix as the workstation saves it: `predictors` predictors, the last the
// constant, and `rows` data points; task values are convolved-looking numbers in [-0.3, 1.2].
void writeBaseDesignMatrix(const std::string& path, std::int32_t rows, std::int32_t predictors);

// Motion estimates (six columns) in the time-course or the design-matrix layout.
void writeMotionFile(const std::string& path, std::int32_t rows, bool timeCourseLayout);

// `predictors` physiological predictors in the time-course layout, or in the design-matrix
// layout followed by a constant predictor.
void writePhysiologyFile(const std::string& path, std::int32_t rows, std::int32_t predictors,
                         bool timeCourseLayout);

// Records as the readers return them, made in memory.
designmatrix::DesignMatrixFilePtr motionRecord(std::int32_t rows);
designmatrix::DesignMatrixFilePtr physiologyRecord(std::int32_t kind, std::int32_t rows,
                                                   std::int32_t predictors);

// Size of a file in bytes.
std::int64_t fileBytes(const std::string& path);

}  // namespace bench
