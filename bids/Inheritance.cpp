#include "bids/Inheritance.h"

#include <algorithm>
#include <system_error>

namespace bids {

namespace fs = std::filesystem;

std::optional<fs::path> datasetRoot(const fs::path& folder) {
    std::error_code code;
    fs::path current = fs::absolute(folder, code).lexically_normal();
    for (;;) {
        if (fs::is_regular_file(current / "dataset_description.json", code)) {
            return current;
        }
        if (!current.has_relative_path() || current.parent_path() == current) {
            return std::nullopt;
        }
        current = current.parent_path();
    }
}

std::vector<fs::path> applicableFiles(const fs::path& root, const fs::path& folder,
                                      const BidsName& target, std::string_view suffix,
                                      std::string_view extension) {
    std::error_code code;
    const fs::path top = fs::absolute(root, code).lexically_normal();
    fs::path current = fs::absolute(folder, code).lexically_normal();
    // The folders from `folder` up to the root, then walked from the root down.
    std::vector<fs::path> folders{current};
    while (current != top && current.has_relative_path() && current.parent_path() != current) {
        current = current.parent_path();
        folders.push_back(current);
    }
    if (current != top) {
        folders.resize(1);  // `folder` is not inside `root`: its own files alone
    }
    std::vector<fs::path> files;
    for (auto level = folders.rbegin(); level != folders.rend(); ++level) {
        std::vector<std::pair<std::size_t, fs::path>> found;
        for (fs::directory_iterator it(*level, code), end; !code && it != end; it.increment(code)) {
            if (!it->is_regular_file(code)) {
                continue;
            }
            const std::optional<BidsName> name = parseBidsName(it->path().filename().string());
            if (name && name->suffix == suffix && name->extension == extension &&
                name->entitiesWithin(target)) {
                found.emplace_back(name->entities.size(), it->path());
            }
        }
        std::sort(found.begin(), found.end());
        for (auto& [entities, path] : found) {
            files.push_back(std::move(path));
        }
    }
    return files;
}

}  // namespace bids
