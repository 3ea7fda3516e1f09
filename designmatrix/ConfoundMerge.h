#pragma once

// The merge writer: copies the base design matrix entry by entry into a new file named with one
// suffix per confound, adds the confound predictors and keeps the constant last.

#include <string>

#include "designmatrix/DesignMatrixFile.h"

namespace designmatrix {

// Merges the confounds whose flag is set (a record whose flag is clear is never touched and may
// be null). Returns the new file's path; empty when no name was formed.
std::string mergeConfounds(const std::string& sdmPath, const DesignMatrixFile* motion,
                           const DesignMatrixFile* heartRate, const DesignMatrixFile* respiration,
                           bool hasMotion, bool hasHeartRate, bool hasRespiration);

// Merges all three confounds. Returns the new file's path; empty when no name was formed.
std::string mergeAllConfounds(const std::string& sdmPath, const DesignMatrixFile& motion,
                              const DesignMatrixFile& heartRate,
                              const DesignMatrixFile& respiration);

}  // namespace designmatrix
