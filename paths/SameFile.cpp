#include "paths/SameFile.h"

#include <filesystem>
#include <system_error>

namespace paths {

bool isSameFile(const std::string& first, const std::string& second) {
    namespace fs = std::filesystem;
    if (first == second) {
        return true;
    }
    std::error_code error;
    if (fs::equivalent(first, second, error) && !error) {
        return true;
    }
    const fs::path firstPath = fs::absolute(first, error).lexically_normal();
    if (error) {
        return false;
    }
    const fs::path secondPath = fs::absolute(second, error).lexically_normal();
    return !error && firstPath == secondPath;
}

}  // namespace paths
