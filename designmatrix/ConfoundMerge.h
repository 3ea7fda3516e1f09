#pragma once

// The merge writer: copies the base design matrix entry by entry into a new file named with one
// suffix per confound, adds the confound predictors and keeps the constant last.

#include <string>

#include "designmatrix/DesignMatrixFile.h"
#include "paths/FileSet.h"

namespace designmatrix {

// Merges the confounds whose flag is set (a record whose flag is clear is never touched and may
// be null). Nothing is written over the base, a confound file or a file of `listFiles` (the run's
// file list and every file it names; none when null). Returns the new file's path; empty when no
// name was formed.
std::string mergeConfounds(const std::string& sdmPath, const DesignMatrixFile* motion,
                           const DesignMatrixFile* heartRate, const DesignMatrixFile* respiration,
                           bool hasMotion, bool hasHeartRate, bool hasRespiration,
                           const paths::FileSet* listFiles = nullptr);

// Merges all three confounds, with the same protection. Returns the new file's path; empty when
// no name was formed.
std::string mergeAllConfounds(const std::string& sdmPath, const DesignMatrixFile& motion,
                              const DesignMatrixFile& heartRate,
                              const DesignMatrixFile& respiration,
                              const paths::FileSet* listFiles = nullptr);

}  // namespace designmatrix
