#pragma once

// The answers the host gives to the plug-in's dialogs, taken in the order the dialogs are asked,
// one queue per kind of dialog. A dialog whose queue is empty answers as a dialog the user
// closed.

#include <deque>
#include <optional>
#include <string>

namespace headless {

struct NumberAnswer {
    bool cancel = false;  // the user cancelled the dialog
    float value = 0.0f;
};

class DialogAnswers {
  public:
    void clear();
    void addYesNo(bool yes) { yesNo_.push_back(yes); }
    void addNumber(NumberAnswer answer) { numbers_.push_back(answer); }
    // A chosen file, or no file (the dialog cancelled).
    void addFile(std::optional<std::string> path) { files_.push_back(std::move(path)); }

    // The next answer of each kind; none when no answer is left.
    std::optional<bool> nextYesNo();
    std::optional<NumberAnswer> nextNumber();
    std::optional<std::optional<std::string>> nextFile();

  private:
    std::deque<bool> yesNo_;
    std::deque<NumberAnswer> numbers_;
    std::deque<std::optional<std::string>> files_;
};

}  // namespace headless
