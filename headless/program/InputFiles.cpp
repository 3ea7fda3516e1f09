#include "headless/program/InputFiles.h"

#include <filesystem>

namespace headless {

namespace {

constexpr std::size_t kFileResultSize = 512;  // the file dialog's result buffer

}  // namespace

std::string prepareListFile(std::optional<std::string>& list) {
    if (!list) {
        return {};
    }
    std::error_code code;
    if (!std::filesystem::is_regular_file(*list, code)) {
        return "the file list " + *list + " does not exist or is not a file";
    }
    const std::string absolute = std::filesystem::absolute(*list, code).lexically_normal().string();
    if (absolute.size() >= kFileResultSize) {
        return "the path of the file list " + absolute + " is longer than 511 characters";
    }
    list = absolute;
    return {};
}

std::string checkOutputFile(const std::string& option, const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code code;
    const fs::path absolute = fs::absolute(path, code);
    const fs::path folder = absolute.parent_path();
    if (code || fs::is_directory(absolute, code) || !fs::is_directory(folder, code)) {
        return "cannot write the " + option + " file " + path +
               ": it is a folder, or its folder does not exist";
    }
    return {};
}

std::string prepareOutputFolder(const std::string& folder, const std::string& what) {
    std::error_code code;
    std::filesystem::create_directories(folder, code);
    if (std::filesystem::is_directory(folder)) {
        return {};
    }
    return "cannot make the " + what + " " + folder +
           (code ? ": " + code.message() : std::string(": a file of that name is there"));
}

}  // namespace headless
