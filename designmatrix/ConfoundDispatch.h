#pragma once

// Loads a protocol's confound files with the reader their paths call for, z-transforms them on
// request, merges them into the base design matrix and releases them.

#include <string>

namespace designmatrix {

// Any non-empty subset of the three confounds; a path whose flag is clear is never read. When a
// file cannot be read, logs which and merges nothing. Returns the merged design matrix's path
// (empty when none was formed).
std::string addConfounds(const std::string& sdmPath, const char* motionPath,
                         const char* heartRatePath, const char* respirationPath, bool zTransform,
                         bool hasMotion, bool hasHeartRate, bool hasRespiration);

// All three confounds. When a file cannot be read, logs which and merges nothing. Returns the
// merged design matrix's path (empty when none was formed).
std::string addAllConfounds(const std::string& sdmPath, const char* motionPath,
                            const char* heartRatePath, const char* respirationPath,
                            bool zTransform);

}  // namespace designmatrix
