#include "headless/program/FileIdentity.h"

namespace headless {

std::string sameFileKey(const std::string& path) {
    return paths::resolvedPath(path);
}

SameFileAs::SameFileAs(const std::string& path)
    : path_(path), identity_(paths::FileIdentity::of(path)) {}

bool SameFileAs::operator()(const std::string& other) const {
    return other == path_ || identity_.sameAs(paths::FileIdentity::of(other));
}

void FileDescriptions::add(const std::string& path, const std::string& description) {
    const paths::FileIdentity identity = paths::FileIdentity::of(path);
    files_.try_emplace(identity.resolved, description);
    if (identity.id) {
        byId_.try_emplace(*identity.id, description);
    }
}

std::optional<std::string> FileDescriptions::find(const std::string& path) const {
    const paths::FileIdentity identity = paths::FileIdentity::of(path);
    if (const auto found = files_.find(identity.resolved); found != files_.end()) {
        return found->second;
    }
    if (identity.id) {
        if (const auto found = byId_.find(*identity.id); found != byId_.end()) {
            return found->second;
        }
    }
    return std::nullopt;
}

}  // namespace headless
