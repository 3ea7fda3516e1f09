#include "headless/program/RunFiles.h"

namespace headless {

std::optional<std::string> runFileAt(const std::string& path, const ListPlan* plan,
                                     const std::optional<std::string>& volumeDocument,
                                     const std::string& plugin, bool zTransform) {
    const SameFileAs same(path);
    if (volumeDocument && same(*volumeDocument)) {
        return "the volume document";
    }
    if (same(plugin)) {
        return "the plug-in";
    }
    if (plan == nullptr) {
        return std::nullopt;
    }
    if (same(plan->path)) {
        return "the file list";
    }
    for (std::size_t i = 0; i < plan->entries.size(); ++i) {
        if (same(plan->entries[i])) {
            return "entry " + std::to_string(i + 1) + " of the file list";
        }
    }
    for (const ListPair& pair : plan->pairs) {
        if (!pair.timeCourse) {
            continue;
        }
        const auto merged = mergedDesignMatrixOf(*plan, pair, zTransform);
        if (same(baseDesignMatrixOf(*plan, pair)) || (merged && same(*merged))) {
            return "a design matrix the run writes";
        }
    }
    return std::nullopt;
}

std::string refusal(std::string_view option, const std::string& path, const ListPlan* plan,
                    const std::optional<std::string>& volumeDocument, const std::string& plugin,
                    bool zTransform) {
    const auto clash = runFileAt(path, plan, volumeDocument, plugin, zTransform);
    if (!clash) {
        return {};
    }
    return std::string(option) + " " + path + " is " + *clash +
           ": it would be replaced, so nothing is run and nothing is written";
}

}  // namespace headless
