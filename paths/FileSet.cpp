#include "paths/FileSet.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <system_error>

namespace paths {

namespace {

// The texts under which a path is known: as given, absolute and normal, and, when the file
// exists, with its links resolved. Windows compares names without case.
std::array<std::string, 3> keysOf(const std::string& path) {
    namespace fs = std::filesystem;
    std::array<std::string, 3> keys = {path, {}, {}};
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error).lexically_normal();
    if (!error) {
        keys[1] = absolute.generic_string();
    }
    if (fs::exists(path, error) && !error) {
        const fs::path resolved = fs::canonical(path, error);
        if (!error) {
            keys[2] = resolved.generic_string();
        }
    }
#if defined(_WIN32)
    for (std::string& key : keys) {
        std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) {
            return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        });
    }
#endif
    return keys;
}

}  // namespace

void FileSet::add(const std::string& path) {
    for (std::string& key : keysOf(path)) {
        if (!key.empty()) {
            keys_.insert(std::move(key));
        }
    }
}

bool FileSet::contains(const std::string& path) const {
    const std::array<std::string, 3> keys = keysOf(path);
    return std::any_of(keys.begin(), keys.end(),
                       [&](const std::string& key) { return !key.empty() && keys_.contains(key); });
}

}  // namespace paths
