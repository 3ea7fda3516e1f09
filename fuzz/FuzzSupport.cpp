#include "fuzz/FuzzSupport.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "abi/HostApi.h"
#include "host/HostFunctionTable.h"

namespace fuzzsupport {

namespace {

std::vector<std::string>& entries() {
    static std::vector<std::string> captured;
    return captured;
}

extern "C" int captureLogText(const char* text) {
    entries().emplace_back(text != nullptr ? text : "");
    return 1;
}

// Removes the scratch folder when the process ends normally.
struct ScratchFolder {
    ScratchFolder() {
        namespace fs = std::filesystem;
        const fs::path shm("/dev/shm");
        std::error_code error;
        const fs::path base = fs::is_directory(shm, error) ? shm : fs::temp_directory_path();
        path = (base / ("sdmweaver-fuzz-" + std::to_string(::getpid()))).string();
        fs::create_directories(path, error);
        if (error) {
            std::fprintf(stderr, "cannot create the scratch folder %s\n", path.c_str());
            std::abort();
        }
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string path;
};

}  // namespace

void startCapturedLog() {
    static const bool installed = [] {
        host::api::TkLogText* capture = &captureLogText;
        host::hostFunctionTable()[host::hostFunctionIndex("tkLogText")] =
            reinterpret_cast<host::HostFunctionAddress>(capture);
        return true;
    }();
    (void)installed;
    entries().clear();
}

const std::vector<std::string>& loggedEntries() {
    return entries();
}

bool logged(std::string_view entry) {
    const auto& all = entries();
    return std::find(all.begin(), all.end(), entry) != all.end();
}

bool loggedStartingWith(std::string_view prefix) {
    const auto& all = entries();
    return std::any_of(all.begin(), all.end(),
                       [&](const std::string& entry) { return entry.starts_with(prefix); });
}

const std::string& scratchFolder() {
    static const ScratchFolder folder;
    return folder.path;
}

std::string scratchFile(const std::string& name) {
    return scratchFolder() + "/" + name;
}

void writeBytes(const std::string& path, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    if (!out) {
        std::fprintf(stderr, "cannot write the scratch file %s\n", path.c_str());
        std::abort();
    }
}

void writeBytes(const std::string& path, std::string_view bytes) {
    writeBytes(path, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void fail(const char* condition, const char* file, int line, const std::string& why) {
    std::fprintf(stderr, "\nInvariant broken at %s:%d: %s\n  %s\nLog of this input:\n", file, line,
                 condition, why.c_str());
    for (const auto& entry : entries()) {
        std::fprintf(stderr, "  | %s\n", entry.c_str());
    }
    std::abort();
}

}  // namespace fuzzsupport
