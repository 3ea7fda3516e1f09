#include "plot/PlotRun.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "formats/DesignTable.h"
#include "paths/SameFile.h"
#include "paths/WholeFile.h"
#include "plot/DesignCheck.h"
#include "plot/DesignPicture.h"

namespace plot {

namespace {

constexpr char kProgram[] = "sdmweaver: ";
constexpr char kCheck[] = "check: ";

bool writePicture(const std::filesystem::path& path, const std::string& svg, std::string& error) {
    paths::WholeFile file(path.string(), paths::WholeFile::Mode::Binary);
    if (!file.isOpen()) {
        error = "cannot open " + path.string() + " for writing";
        return false;
    }
    file.stream() << svg;
    if (!file.commit()) {
        error = "cannot write " + path.string();
        return false;
    }
    return true;
}

}  // namespace

std::vector<std::filesystem::path> pictureNames(const std::vector<std::string>& paths,
                                                const std::filesystem::path& folder) {
    std::map<std::string, int> seen;
    std::vector<std::filesystem::path> names;
    for (const auto& path : paths) {
        const std::string file = std::filesystem::path(path).filename().string();
        // Compared without case: on some file systems Run1.sdm.svg and run1.sdm.svg are one.
        std::string key = file;
        std::transform(key.begin(), key.end(), key.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        const int times = ++seen[key];
        names.push_back(folder /
                        (times == 1 ? file + ".svg" : file + "-" + std::to_string(times) + ".svg"));
    }
    return names;
}

PlotOutcome plotDesignMatrices(const std::vector<std::string>& paths,
                               const std::filesystem::path& folder, const Say& say) {
    PlotOutcome outcome;
    const std::vector<std::filesystem::path> pictures = pictureNames(paths, folder);
    std::vector<paths::FileIdentity> inputs;
    for (const std::string& path : paths) {
        inputs.push_back(paths::FileIdentity::of(path));
    }
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const paths::FileIdentity picture = paths::FileIdentity::of(pictures[i].string());
        const auto input = std::find_if(inputs.begin(), inputs.end(),
                                        [&](const auto& file) { return file.sameAs(picture); });
        if (input != inputs.end()) {
            say(kProgram, "no picture of " + paths[i] + ": " + pictures[i].string() + " is " +
                              paths[static_cast<std::size_t>(input - inputs.begin())] +
                              ", which it would replace");
            ++outcome.failed;
            continue;
        }
        const formats::DesignTableRead read = formats::readDesignTable(paths[i]);
        if (!read.table) {
            say(kProgram, "no picture of " + paths[i] + ": " + read.error);
            ++outcome.failed;
            continue;
        }
        const DesignCheck check = checkDesign(*read.table);
        for (const auto& line : describeDesignCheck(*read.table, check, paths[i])) {
            say(kCheck, line);
        }
        const std::string title = std::filesystem::path(paths[i]).filename().string();
        std::string error;
        if (!writePicture(pictures[i], drawDesignPicture(*read.table, check, title), error)) {
            say(kProgram, "no picture of " + paths[i] + ": " + error);
            ++outcome.failed;
            continue;
        }
        say(kProgram, "picture of " + paths[i] + ": " + pictures[i].string());
        ++outcome.drawn;
    }
    return outcome;
}

}  // namespace plot
