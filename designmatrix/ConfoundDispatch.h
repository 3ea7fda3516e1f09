#pragma once

// Loads a protocol's confound files with the reader their paths call for, z-transforms them on
// request, merges them into the base design matrix and releases them.

#include <string>

#include "paths/FileSet.h"

namespace designmatrix {

// Any non-empty subset of the three confounds; a path whose flag is clear is never read. When a
// file cannot be read, logs which and merges nothing. The merged design matrix replaces no input
// and no file of `listFiles` (when given). Returns its path (empty when none was formed).
std::string addConfounds(const std::string& sdmPath, const char* motionPath,
                         const char* heartRatePath, const char* respirationPath, bool zTransform,
                         bool hasMotion, bool hasHeartRate, bool hasRespiration,
                         const paths::FileSet* listFiles = nullptr);

// All three confounds. When a file cannot be read, logs which and merges nothing. The merged
// design matrix replaces no input and no file of `listFiles` (when given). Returns its path (empty
// when none was formed).
std::string addAllConfounds(const std::string& sdmPath, const char* motionPath,
                            const char* heartRatePath, const char* respirationPath, bool zTransform,
                            const paths::FileSet* listFiles = nullptr);

}  // namespace designmatrix
