#pragma once

// Where the headless host shows what the workstation would show. The log pane is standard
// output (and the log file, when one is open): each logged text followed by one line break, and
// nothing else. Message boxes, dialogs with their answers and the host's own notes go to
// standard error, each line with a short prefix.

#include <fstream>
#include <ostream>
#include <string>
#include <string_view>

namespace headless {

class Console {
  public:
    Console();

    // Sends the log and the rest elsewhere (tests); the log file is kept.
    void redirect(std::ostream& log, std::ostream& messages);
    // Copies every later log entry into the file, which is created or emptied. False when it
    // cannot be opened.
    bool openLogFile(const std::string& path);

    // One log entry: the text and one line break.
    void log(std::string_view text);
    // Every line of text on standard error behind the prefix, such as "message: ".
    void show(std::string_view prefix, std::string_view text);
    void note(std::string_view text) { show("host: ", text); }

    // Whether some log entry did not reach standard output (or what stands in for it), or the
    // log file, whole.
    bool logLost() const { return logLost_; }
    bool logFileLost() const { return logFileLost_; }

  private:
    std::ostream* log_;
    std::ostream* messages_;
    std::ofstream logFile_;
    bool logLost_ = false;
    bool logFileLost_ = false;
};

}  // namespace headless
