#pragma once

// Inputs are regular files: a device, a FIFO, a folder or a socket at an input's name (links
// followed) is never opened, since reading it may never end or never stop growing.

#include <string>

namespace paths {

// True when something stands at `path` that is not a regular file; false for a regular file and
// for nothing at all (which its reader reports as a file it cannot open).
bool isIrregularFile(const std::string& path);

// "PATH is not a regular file: it is not read.", the words every reader says it with.
std::string irregularFileText(const std::string& path);

}  // namespace paths
