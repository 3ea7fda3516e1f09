#include "headless/Console.h"

#include <iostream>

namespace headless {

Console::Console() : log_(&std::cout), messages_(&std::cerr) {}

void Console::redirect(std::ostream& log, std::ostream& messages) {
    log_ = &log;
    messages_ = &messages;
    logLost_ = false;
}

bool Console::openLogFile(const std::string& path) {
    logFile_.close();
    logFile_.clear();
    logFile_.open(path, std::ios::trunc);
    logFileLost_ = false;
    return static_cast<bool>(logFile_);
}

void Console::log(std::string_view text) {
    *log_ << text << '\n';
    log_->flush();
    logLost_ = logLost_ || log_->fail();
    if (logFile_.is_open()) {
        logFile_ << text << '\n';
        logFile_.flush();
        logFileLost_ = logFileLost_ || logFile_.fail();
    }
}

void Console::show(std::string_view prefix, std::string_view text) {
    // Standard output first, so that a terminal shows both in the order they happened.
    log_->flush();
    do {
        const std::size_t end = text.find('\n');
        *messages_ << prefix << text.substr(0, end) << '\n';
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    } while (!text.empty());
    messages_->flush();
}

}  // namespace headless
