#include "headless/program/FileSet.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace headless {

std::string sameFileKey(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path absolute = fs::absolute(path, error);
    if (error) {
        absolute = fs::path(path);
    }
    fs::path resolved = fs::weakly_canonical(absolute, error);
    if (error) {
        resolved = absolute;
    }
    std::string key = resolved.lexically_normal().generic_string();
#if defined(_WIN32)
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
#endif
    return key;
}

void FileSet::add(const std::string& path, const std::string& description) {
    files_.try_emplace(sameFileKey(path), description);
}

std::optional<std::string> FileSet::find(const std::string& path) const {
    const auto found = files_.find(sameFileKey(path));
    if (found == files_.end()) {
        return std::nullopt;
    }
    return found->second;
}

}  // namespace headless
