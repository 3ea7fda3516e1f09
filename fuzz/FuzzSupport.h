#pragma once

// Shared helpers of the fuzz targets: a log that stands in for the host's log pane, a scratch
// folder for the files the readers open by path, and the check that ends a run on a broken
// invariant.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace fuzzsupport {

// Installs a log that keeps every entry (once per process) and empties it. Call at the start of
// every input.
void startCapturedLog();
// The entries logged since startCapturedLog.
const std::vector<std::string>& loggedEntries();
// True when an entry equals `entry`.
bool logged(std::string_view entry);
// True when an entry begins with `prefix`.
bool loggedStartingWith(std::string_view prefix);

// A folder of this process's own, created once and removed at exit (under /dev/shm when it
// exists, for speed).
const std::string& scratchFolder();
// Path of `name` inside the scratch folder.
std::string scratchFile(const std::string& name);
// Writes the bytes to the path exactly as given (binary); aborts when it cannot.
void writeBytes(const std::string& path, const std::uint8_t* data, std::size_t size);
void writeBytes(const std::string& path, std::string_view bytes);
// The whole file as bytes; empty when it cannot be read.
std::string readBytes(const std::string& path);

// Reports a broken invariant with the input's log and aborts, so that libFuzzer saves the input.
[[noreturn]] void fail(const char* condition, const char* file, int line, const std::string& why);

}  // namespace fuzzsupport

// Checks an invariant that must hold for every input.
#define FUZZ_CHECK(condition, why)                                      \
    do {                                                                \
        if (!(condition)) {                                             \
            ::fuzzsupport::fail(#condition, __FILE__, __LINE__, (why)); \
        }                                                               \
    } while (false)
