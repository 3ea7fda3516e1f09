#pragma once

// Pure text operations that form every derived file name. No file access, no state.

#include <optional>
#include <string>
#include <string_view>

namespace paths {

// The file-name part of path: after the last separator ('/' when the path holds one, else '\'),
// the first character never being taken as a separator; without the extension when
// dropExtension, with one '-' appended when appendDash. No text for an absent or empty path.
std::optional<std::string> extractFileName(const char* path, bool dropExtension, bool appendDash);

// Everything before the last '.' of the path (directory part included); empty without a '.';
// the two-character text "''" for an absent or empty path.
std::string stripExtension(const char* path);

// stripExtension(basePath) + separator + name + "." + the last three characters of basePath.
std::string appendNameToStem(std::string_view basePath, std::string_view name, char separator);

// path with infix inserted in front of its last four characters.
std::string insertBeforeExtension(std::string_view path, std::string_view infix);

}  // namespace paths
