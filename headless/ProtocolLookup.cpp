#include "headless/ProtocolLookup.h"

namespace headless {

namespace {

bool isFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

}  // namespace

std::filesystem::path folderOf(const std::string& filePath) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(filePath, error);
    return (error ? std::filesystem::path(filePath) : absolute).lexically_normal().parent_path();
}

std::optional<ProtocolLocation> findProtocolFile(const std::string& name,
                                                 const std::filesystem::path& timeCourseFolder,
                                                 const std::filesystem::path& volumeFolder,
                                                 std::vector<std::string>& tried) {
    const std::filesystem::path given(name);
    if (given.is_absolute()) {
        tried.push_back(given.string());
        if (isFile(given)) {
            return ProtocolLocation{given.lexically_normal(), "as given"};
        }
    }
    // An absolute name that does not exist is looked for by its file name in the folders.
    const std::filesystem::path relative = given.is_absolute() ? given.filename() : given;
    const std::pair<const std::filesystem::path*, const char*> folders[] = {
        {&timeCourseFolder, "beside the time course"},
        {&volumeFolder, "beside the volume document"},
    };
    for (const auto& [folder, where] : folders) {
        if (folder->empty()) {
            continue;
        }
        const std::filesystem::path candidate = (*folder / relative).lexically_normal();
        tried.push_back(candidate.string());
        if (isFile(candidate)) {
            return ProtocolLocation{candidate, where};
        }
    }
    return std::nullopt;
}

}  // namespace headless
