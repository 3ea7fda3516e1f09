#include "headless/program/RunFiles.h"

namespace headless {

FileSet runFiles(const ListPlan* plan, const std::optional<std::string>& volumeDocument,
                 const std::string& plugin, bool zTransform) {
    FileSet files;
    if (volumeDocument) {
        files.add(*volumeDocument, "the volume document");
    }
    files.add(plugin, "the plug-in");
    if (plan == nullptr) {
        return files;
    }
    files.add(plan->path, "the file list");
    for (std::size_t i = 0; i < plan->entries.size(); ++i) {
        files.add(plan->entries[i], "entry " + std::to_string(i + 1) + " of the file list");
    }
    for (const ListPair& pair : plan->pairs) {
        if (!pair.timeCourse) {
            continue;
        }
        files.add(baseDesignMatrixOf(*plan, pair), "a design matrix the run writes");
        if (const auto merged = mergedDesignMatrixOf(*plan, pair, zTransform)) {
            files.add(*merged, "a design matrix the run writes");
        }
    }
    return files;
}

std::string refusal(const FileSet& files, std::string_view option, const std::string& path) {
    const auto clash = files.find(path);
    if (!clash) {
        return {};
    }
    return std::string(option) + " " + path + " is " + *clash +
           ": it would be replaced, so nothing is run and nothing is written";
}

}  // namespace headless
