#pragma once

// Where the host looks for the protocol named in a time course's header: the name as given when
// it is an absolute path that exists, else in the time course's folder, else in the volume
// document's folder.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace headless {

struct ProtocolLocation {
    std::filesystem::path path;  // absolute
    std::string where;  // "as given", "beside the time course", "beside the volume document"
};

// The first place that holds the file; none when no place does. `tried` receives every path
// looked at, in order.
std::optional<ProtocolLocation> findProtocolFile(const std::string& name,
                                                 const std::filesystem::path& timeCourseFolder,
                                                 const std::filesystem::path& volumeFolder,
                                                 std::vector<std::string>& tried);

// The absolute folder of a file path (the working folder for a bare file name).
std::filesystem::path folderOf(const std::string& filePath);

}  // namespace headless
