#include "paths/RegularFile.h"

#include <filesystem>
#include <system_error>

namespace paths {

bool isIrregularFile(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    return !error && fs::exists(status) && !fs::is_regular_file(status);
}

std::string irregularFileText(const std::string& path) {
    return path + " is not a regular file: it is not read.";
}

}  // namespace paths
