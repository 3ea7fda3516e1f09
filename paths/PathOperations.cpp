#include "paths/PathOperations.h"

namespace paths {

std::optional<std::string> extractFileName(const char* path, bool dropExtension, bool appendDash) {
    if (path == nullptr || *path == '\0') {
        return std::nullopt;
    }
    const std::string_view text(path);
    const char separator = text.find('/') != std::string_view::npos ? '/' : '\\';

    // Walk back to the second character; the first is never taken as a separator.
    std::size_t start = 0;
    std::size_t dot = std::string_view::npos;
    for (std::size_t i = text.size() - 1; i >= 1; --i) {
        if (text[i] == separator) {
            start = i + 1;
            break;
        }
        if (text[i] == '.' && dot == std::string_view::npos) {
            dot = i;
        }
    }
    // A name without a dot keeps its whole text when the extension is to be dropped.
    const std::size_t end = dropExtension && dot != std::string_view::npos ? dot : text.size();
    std::string name(text.substr(start, end - start));
    if (appendDash) {
        name += '-';
    }
    return name;
}

std::string stripExtension(const char* path) {
    if (path == nullptr || *path == '\0') {
        return "''";
    }
    const std::string_view text(path);
    const std::size_t dot = text.rfind('.');
    return dot == std::string_view::npos ? std::string() : std::string(text.substr(0, dot));
}

std::string appendNameToStem(std::string_view basePath, std::string_view name, char separator) {
    // The extension is always the last three characters (the whole text when shorter).
    const std::string base(basePath);
    const std::size_t extensionLength = basePath.size() < 3 ? basePath.size() : 3;
    std::string result = stripExtension(base.c_str());
    result += separator;
    result += name;
    result += '.';
    result += basePath.substr(basePath.size() - extensionLength);
    return result;
}

std::string insertBeforeExtension(std::string_view path, std::string_view infix) {
    // A path shorter than four characters is all extension: the infix goes in front of it.
    const std::size_t split = path.size() < 4 ? 0 : path.size() - 4;
    std::string result(path.substr(0, split));
    result += infix;
    result += path.substr(split);
    return result;
}

}  // namespace paths
