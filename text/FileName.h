#pragma once

#include <string_view>

namespace text {

// The file name of a path: what follows its last '/' or '\' (the whole text without either).
// What a file is, by its name, is told from this part alone, never from its folders.
constexpr std::string_view fileNameOf(std::string_view path) {
    const std::size_t separator = path.find_last_of("/\\");
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

}  // namespace text
