#pragma once

// The program reads lists and confound files with the plug-in's own code, linked into it. That
// code logs through this module's copy of the host function table, which no host has bound; a
// capture takes those entries, so that the program can quote them as reasons.

#include <cstddef>
#include <string>
#include <vector>

namespace headless {

class LogCapture {
  public:
    // From now on every entry logged through this module's table is kept here (only the last
    // `keepLast` of them when that is not 0); an earlier capture is set aside until this one goes.
    explicit LogCapture(std::size_t keepLast = 0);
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    // The entries in the order they were logged.
    const std::vector<std::string>& entries() const { return entries_; }
    void clear() { entries_.clear(); }

    // The table's log operation while a capture lives: keeps the text in the newest capture.
    static int take(const char* text);

  private:
    std::vector<std::string> entries_;
    std::size_t keepLast_;
    LogCapture* outer_;
    void (*previous_)();
};

}  // namespace headless
