#include "fuzz/FuzzSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <memory>

#include "tests/support/TestSupport.h"

namespace fuzzsupport {

namespace {

// The host's log, captured for the whole process.
testsupport::CapturedLog& capturedLog() {
    static testsupport::CapturedLog log;
    return log;
}

// In memory where the system offers it, for speed; removed when the process ends normally.
const testsupport::TempDir& scratch() {
    static const auto folder = [] {
        std::error_code error;
        const std::filesystem::path shm("/dev/shm");
        return std::filesystem::is_directory(shm, error)
                   ? std::make_unique<testsupport::TempDir>(shm)
                   : std::make_unique<testsupport::TempDir>();
    }();
    return *folder;
}

}  // namespace

void startCapturedLog() {
    capturedLog().clear();
}

const std::vector<std::string>& loggedEntries() {
    return capturedLog().entries();
}

bool logged(std::string_view entry) {
    const auto& all = loggedEntries();
    return std::find(all.begin(), all.end(), entry) != all.end();
}

bool loggedStartingWith(std::string_view prefix) {
    const auto& all = loggedEntries();
    return std::any_of(all.begin(), all.end(),
                       [&](const std::string& entry) { return entry.starts_with(prefix); });
}

const std::string& scratchFolder() {
    static const std::string path = scratch().path().generic_string();
    return path;
}

std::string scratchFile(const std::string& name) {
    return scratch().file(name);
}

void writeBytes(const std::string& path, const std::uint8_t* data, std::size_t size) {
    writeBytes(path, std::string_view(reinterpret_cast<const char*>(data), size));
}

void writeBytes(const std::string& path, std::string_view bytes) {
    try {
        testsupport::writeFile(path, std::string(bytes));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        std::abort();
    }
}

std::string readBytes(const std::string& path) {
    return testsupport::readFile(path);
}

void fail(const char* condition, const char* file, int line, const std::string& why) {
    std::fprintf(stderr, "\nInvariant broken at %s:%d: %s\n  %s\nLog of this input:\n", file, line,
                 condition, why.c_str());
    for (const auto& entry : loggedEntries()) {
        std::fprintf(stderr, "  | %s\n", entry.c_str());
    }
    std::abort();
}

}  // namespace fuzzsupport
