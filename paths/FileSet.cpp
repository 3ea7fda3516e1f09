#include "paths/FileSet.h"

#include <algorithm>
#include <functional>

namespace paths {

namespace {

std::uint64_t hashOf(const std::string& key) {
    return static_cast<std::uint64_t>(std::hash<std::string>{}(key));
}

}  // namespace

FileSet::FileSet(std::string listPath, std::span<const std::string> entries)
    : listPath_(std::move(listPath)), entries_(entries) {
    // Hashes alone are kept: a study of many runs names tens of thousands of files.
    hashes_.reserve(entries_.size() + 1);
    for (std::size_t i = 0; i <= entries_.size(); ++i) {
        hashes_.emplace_back(hashOf(resolvedPath(pathAt(i))), static_cast<std::uint32_t>(i));
        if (const auto id = fileIdOf(pathAt(i))) {
            ids_.push_back(*id);
        }
    }
    std::sort(hashes_.begin(), hashes_.end());
    std::sort(ids_.begin(), ids_.end());
}

const std::string& FileSet::pathAt(std::size_t i) const {
    return i < entries_.size() ? entries_[i] : listPath_;
}

bool FileSet::contains(const std::string& path) const {
    const std::string key = resolvedPath(path);
    const std::uint64_t hash = hashOf(key);
    auto it = std::lower_bound(hashes_.begin(), hashes_.end(), std::make_pair(hash, 0u));
    // A hash met again is confirmed by the file's own key, so that no two files are taken for one.
    for (; it != hashes_.end() && it->first == hash; ++it) {
        if (resolvedPath(pathAt(it->second)) == key) {
            return true;
        }
    }
    // A second hard link of a file of the set.
    const auto id = fileIdOf(path);
    return id && std::binary_search(ids_.begin(), ids_.end(), *id);
}

}  // namespace paths
