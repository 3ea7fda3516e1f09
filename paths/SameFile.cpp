#include "paths/SameFile.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace paths {

namespace fs = std::filesystem;

namespace {

// Links followed at most, as the system itself bounds a chain of links.
constexpr int kMaxLinks = 40;

bool isThere(const fs::path& path) {
    std::error_code error;
    return fs::exists(fs::symlink_status(path, error));
}

// The path with its existing part resolved; a dangling link on the way is replaced by its target
// and the walk begins again.
fs::path resolve(fs::path path) {
    std::error_code error;
    for (int links = 0; links <= kMaxLinks; ++links) {
        fs::path existing = path;
        fs::path missing;
        while (!existing.empty() && !isThere(existing)) {
            if (existing == existing.root_path() || !existing.has_relative_path()) {
                return path.lexically_normal();
            }
            missing = missing.empty() ? existing.filename() : existing.filename() / missing;
            existing = existing.parent_path();
        }
        if (existing.empty()) {
            return path.lexically_normal();
        }
        if (fs::is_symlink(fs::symlink_status(existing, error)) &&
            !fs::exists(fs::status(existing, error))) {
            const fs::path target = fs::read_symlink(existing, error);
            if (error) {
                return path.lexically_normal();
            }
            path = (target.is_absolute() ? target : existing.parent_path() / target) / missing;
            path = path.lexically_normal();
            continue;
        }
        const fs::path real = fs::canonical(existing, error);
        if (error) {
            return path.lexically_normal();
        }
        return missing.empty() ? real : (real / missing).lexically_normal();
    }
    return path.lexically_normal();
}

}  // namespace

std::string resolvedPath(const std::string& path) {
    std::error_code error;
    fs::path absolute = fs::absolute(path, error);
    if (error) {
        absolute = fs::path(path);
    }
    // A file that is there resolves as the system resolves it ("link/.." included).
    fs::path resolved = fs::exists(absolute, error) ? fs::canonical(absolute, error) : fs::path();
    if (resolved.empty() || error) {
        resolved = resolve(absolute.lexically_normal());
    }
    std::string key = resolved.generic_string();
    // "/a/b/" and "/a/b" are one folder.
    while (key.size() > 1 && key.back() == '/' && key[key.size() - 2] != ':') {
        key.pop_back();
    }
#if defined(_WIN32)
    std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
#endif
    return key;
}

std::optional<FileId> fileIdOf(const std::string& path) {
#if defined(_WIN32)
    const HANDLE file =
        CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    const bool known = GetFileInformationByHandle(file, &information) != 0;
    CloseHandle(file);
    if (!known) {
        return std::nullopt;
    }
    return FileId{
        information.dwVolumeSerialNumber,
        (static_cast<std::uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow};
#else
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return std::nullopt;
    }
    return FileId{static_cast<std::uint64_t>(status.st_dev),
                  static_cast<std::uint64_t>(status.st_ino)};
#endif
}

FileIdentity FileIdentity::of(const std::string& path) {
    return FileIdentity{resolvedPath(path), fileIdOf(path)};
}

bool isSameFile(const std::string& first, const std::string& second) {
    return first == second || FileIdentity::of(first).sameAs(FileIdentity::of(second));
}

}  // namespace paths
