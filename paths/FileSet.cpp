#include "paths/FileSet.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <system_error>

namespace paths {

namespace {

// The one text under which a path is known: for a file that exists, its path with links, "." and
// ".." resolved; for one that does not (yet), its absolute path once "." and ".." are resolved;
// the text as given when neither can be formed. Two paths to one existing file give one key, and
// so do two spellings of a path to nothing. Windows compares names without case.
std::string keyOf(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    std::string key;
    if (fs::exists(path, error) && !error) {
        key = fs::canonical(path, error).generic_string();
    }
    if (key.empty() || error) {
        error.clear();
        const fs::path absolute = fs::absolute(path, error).lexically_normal();
        key = error ? path : absolute.generic_string();
    }
#if defined(_WIN32)
    std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
#endif
    return key;
}

std::uint64_t hashOf(const std::string& key) {
    return static_cast<std::uint64_t>(std::hash<std::string>{}(key));
}

}  // namespace

FileSet::FileSet(std::string listPath, std::span<const std::string> entries)
    : listPath_(std::move(listPath)), entries_(entries) {
    // Hashes alone are kept: a study of many runs names tens of thousands of files.
    hashes_.reserve(entries_.size() + 1);
    for (std::size_t i = 0; i <= entries_.size(); ++i) {
        hashes_.emplace_back(hashOf(keyOf(pathAt(i))), static_cast<std::uint32_t>(i));
    }
    std::sort(hashes_.begin(), hashes_.end());
}

const std::string& FileSet::pathAt(std::size_t i) const {
    return i < entries_.size() ? entries_[i] : listPath_;
}

bool FileSet::contains(const std::string& path) const {
    const std::string key = keyOf(path);
    const std::uint64_t hash = hashOf(key);
    auto it = std::lower_bound(hashes_.begin(), hashes_.end(), std::make_pair(hash, 0u));
    // A hash met again is confirmed by the file's own key, so that no two files are taken for one.
    for (; it != hashes_.end() && it->first == hash; ++it) {
        if (keyOf(pathAt(it->second)) == key) {
            return true;
        }
    }
    return false;
}

}  // namespace paths
