#include "headless/program/FileIdentity.h"

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

SameFileAs::SameFileAs(const std::string& path) : path_(path) {
    namespace fs = std::filesystem;
    std::error_code error;
    workingFolder_ = fs::current_path(error);
    lexical_ = (workingFolder_ / path).lexically_normal();
    resolved_ = fs::weakly_canonical(lexical_, error);
    if (error) {
        resolved_ = lexical_;
    }
    exists_ = fs::exists(lexical_, error);
}

bool SameFileAs::operator()(const std::string& other) const {
    namespace fs = std::filesystem;
    if (other == path_) {
        return true;
    }
    const fs::path lexical = (workingFolder_ / other).lexically_normal();
    if (lexical == lexical_ || lexical == resolved_) {
        return true;
    }
    std::error_code error;
    return exists_ && fs::equivalent(lexical, lexical_, error) && !error;
}

void FileDescriptions::add(const std::string& path, const std::string& description) {
    files_.try_emplace(sameFileKey(path), description);
}

std::optional<std::string> FileDescriptions::find(const std::string& path) const {
    const auto found = files_.find(sameFileKey(path));
    if (found == files_.end()) {
        return std::nullopt;
    }
    return found->second;
}

}  // namespace headless
