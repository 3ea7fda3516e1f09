#pragma once

// Drawing a list of design matrix files into a folder: each file read, checked (the check said
// on standard error through `say`) and drawn as an SVG picture named after the file.

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace plot {

// Where the lines go: a prefix ("check: ", "sdmweaver: ") and the text.
using Say = std::function<void(std::string_view prefix, std::string_view text)>;

struct PlotOutcome {
    std::size_t drawn = 0;
    std::size_t failed = 0;  // files not read, or pictures not written
};

// The picture file of each path: the file name with ".svg" appended, in `folder`. A file name
// met before gets "-2", "-3", ... before ".svg", so that no picture overwrites another.
std::vector<std::filesystem::path> pictureNames(const std::vector<std::string>& paths,
                                                const std::filesystem::path& folder);

// Reads, checks and draws each file in turn. Says for each file its check lines ("check: ")
// and where its picture went or why there is none ("sdmweaver: ").
PlotOutcome plotDesignMatrices(const std::vector<std::string>& paths,
                               const std::filesystem::path& folder, const Say& say);

}  // namespace plot
