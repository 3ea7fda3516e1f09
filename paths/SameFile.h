#pragma once

#include <string>

namespace paths {

// True when both paths name the same file: the same text, the same file on disk, or the same
// absolute path once "." and ".." are resolved. Touches no file.
bool isSameFile(const std::string& first, const std::string& second);

}  // namespace paths
