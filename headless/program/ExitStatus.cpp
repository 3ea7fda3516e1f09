#include "headless/program/ExitStatus.h"

#include <iostream>

#include "headless/program/OptionTable.h"

namespace headless {

void show(std::string_view prefix, std::string_view text) {
    // Standard output first, so that a terminal shows both in the order they happened.
    std::cout.flush();
    do {
        const std::size_t end = text.find('\n');
        std::cerr << prefix << text.substr(0, end) << '\n';
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    } while (!text.empty());
    std::cerr.flush();
}

void say(std::string_view text) {
    show("sdmweaver: ", text);
}

int usageError(const std::string& what, std::string_view command) {
    say(what);
    say(helpHint(command));
    return kUsageError;
}

}  // namespace headless
