#pragma once

// The files the options name, checked before anything runs.

#include <optional>
#include <string>

namespace headless {

// The file list as the file dialog hands it out: an existing file, by its absolute path of at
// most 511 characters; `list` becomes that path. Empty when fine (or no list is given), else
// the usage error.
std::string prepareListFile(std::optional<std::string>& list);

// Empty when a file can be created at `path` (its folder exists), else the usage error. Creates
// nothing.
std::string checkOutputFile(const std::string& option, const std::string& path);

// Makes the folder `folder` for outputs (with its parents) when it is missing. Empty when it is
// a folder then, else the usage error, naming it as `what` ("picture folder").
std::string prepareOutputFolder(const std::string& folder, const std::string& what);

}  // namespace headless
