// The host's log, messages and dialogs. Dialogs are answered from the session's answers in the
// order they are asked; a dialog without an answer answers as one the user closed.

#include <cstdio>
#include <cstring>
#include <string>

#include "headless/HostExports.h"
#include "headless/HostSession.h"

using headless::hostSession;

namespace {

// The file dialog's result buffer holds 512 bytes: a path of at most 511 characters.
constexpr std::size_t kFileResultSize = 512;

std::string number(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

const char* orEmpty(const char* text) {
    return text != nullptr ? text : "";
}

}  // namespace

extern "C" {

int tkGetVersionOfZemlarTK(int* major, int* minor, int* third) {
    if (major == nullptr || minor == nullptr || third == nullptr) {
        return 0;
    }
    const auto& version = hostSession().version;
    *major = version[0];
    *minor = version[1];
    *third = version[2];
    return 1;
}

int tkShowLogTab() {
    return 1;  // the log is standard output, always on show
}

int tkLogText(const char* text) {
    auto& session = hostSession();
    session.console.log(orEmpty(text));
    return 1;
}

int tkMessageBox(const char* text) {
    hostSession().console.show("message: ", orEmpty(text));
    return 1;
}

int tkYesNoMessageBox(const char* question) {
    auto& session = hostSession();
    session.console.show("question: ", orEmpty(question));
    const std::optional<bool> answer = session.answers.nextYesNo();
    if (!answer) {
        session.console.show("answer: ", "No (no answer given: the dialog was closed)");
        return 0;
    }
    session.console.show("answer: ", *answer ? "Yes" : "No");
    return *answer ? 1 : 0;
}

float tkGetFloatInput(const char* prompt, float initial, float minimum, float maximum) {
    auto& session = hostSession();
    session.console.show("input: ", std::string(orEmpty(prompt)) + " [initial " + number(initial) +
                                        ", from " + number(minimum) + " to " + number(maximum) +
                                        "]");
    const float closed = minimum - 1.0f;
    const std::optional<headless::NumberAnswer> answer = session.answers.nextNumber();
    std::string why;
    if (!answer) {
        why = "no answer given: the dialog was closed";
    } else if (answer->cancel) {
        why = "cancelled";
    } else if (!(answer->value >= minimum && answer->value <= maximum)) {
        why = number(answer->value) + " lies outside the dialog's range: the dialog was closed";
    } else {
        session.console.show("answer: ", number(answer->value));
        return answer->value;
    }
    session.console.show("answer: ", number(closed) + " (" + why + ")");
    return closed;
}

int tkGetOpenFileName(const char* title, const char* directory, const char* filter, char* result) {
    auto& session = hostSession();
    std::string shown = orEmpty(title);
    if (filter != nullptr && *filter != '\0') {
        shown += std::string(" [") + filter + "]";
    }
    if (directory != nullptr && *directory != '\0') {
        shown += std::string(" in ") + directory;
    }
    session.console.show("file dialog: ", shown);
    const auto answer = session.answers.nextFile();
    if (!answer || !*answer) {
        session.console.show("answer: ", answer ? "no file (cancelled)"
                                                : "no file (no answer given: the dialog was "
                                                  "closed)");
        return 0;
    }
    const std::string& path = **answer;
    if (result == nullptr || path.size() >= kFileResultSize) {
        session.console.show("answer: ", "no file (the path " + path + " does not fit the " +
                                             std::to_string(kFileResultSize) + "-byte result)");
        return 0;
    }
    std::memcpy(result, path.c_str(), path.size() + 1);
    session.console.show("answer: ", path);
    session.observe([&](headless::RunObserver& o) { o.fileChosen(path); });
    return 1;
}
}
