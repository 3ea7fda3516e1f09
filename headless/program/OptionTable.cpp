#include "headless/program/OptionTable.h"

#include <charconv>

namespace headless {

namespace {

constexpr std::size_t kWidth = 96;
constexpr std::size_t kHelpColumn = 21;  // where an option's help begins

// The words of `text` in lines of at most kWidth characters, each line behind `indent` blanks
// (the first behind `first` characters already on the line).
std::string wrapped(std::string_view text, std::size_t indent, std::size_t first = 0) {
    std::string result;
    std::size_t column = first;
    bool lineEmpty = true;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t blank = text.find_first_of(" \n", start);
        const std::size_t end = blank == std::string_view::npos ? text.size() : blank;
        if (end > start) {
            const std::string_view word = text.substr(start, end - start);
            if (!lineEmpty && column + 1 + word.size() > kWidth) {
                result += '\n';
                column = 0;
                lineEmpty = true;
            }
            if (column < indent) {
                result.append(indent - column, ' ');
                column = indent;
            } else if (!lineEmpty) {
                result += ' ';
                ++column;
            }
            result += word;
            column += word.size();
            lineEmpty = false;
        }
        start = end + 1;
    }
    return result + '\n';
}

// Paragraphs, separated by an empty line, each wrapped; a paragraph whose lines are indented is
// shown as it stands.
std::string paragraphs(std::string_view text) {
    std::string result;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find("\n\n", start);
        end = end == std::string_view::npos ? text.size() : end;
        const std::string_view paragraph = text.substr(start, end - start);
        if (!result.empty()) {
            result += '\n';
        }
        result +=
            paragraph.starts_with(' ') ? std::string(paragraph) + '\n' : wrapped(paragraph, 0);
        start = end + 2;
    }
    return result;
}

// Each line of `text` behind `indent`, a line break after the last.
std::string indented(std::string_view text, std::string_view indent) {
    std::string result;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        end = end == std::string_view::npos ? text.size() : end;
        result.append(indent).append(text.substr(start, end - start)) += '\n';
        start = end + 1;
    }
    return result;
}

bool named(const Option& option, std::string_view name) {
    std::string_view spellings = option.name;
    while (!spellings.empty()) {
        const std::size_t bar = spellings.find('|');
        if (spellings.substr(0, bar) == name) {
            return true;
        }
        spellings = bar == std::string_view::npos ? std::string_view() : spellings.substr(bar + 1);
    }
    return false;
}

std::string optionLine(const Option& option) {
    std::string heading = "  ";
    std::string_view spellings = option.name;
    for (std::size_t bar; (bar = spellings.find('|')) != std::string_view::npos;) {
        heading.append(spellings.substr(0, bar)) += ", ";
        spellings.remove_prefix(bar + 1);
    }
    heading += spellings;
    if (!option.value.empty()) {
        heading += ' ' + option.value;
    }
    std::string line;
    if (heading.size() + 1 >= kHelpColumn) {
        line = heading + '\n' + wrapped(option.help, kHelpColumn);
    } else {
        line = heading + wrapped(option.help, kHelpColumn, heading.size());
    }
    if (!option.examples.empty()) {
        line += indented(option.examples, std::string(kHelpColumn + 2, ' '));
    }
    return line;
}

}  // namespace

ParsedArguments parseArguments(const CommandSpec& command,
                               const std::vector<std::string>& arguments) {
    ParsedArguments result;
    for (std::size_t i = 0; i < arguments.size() && result.error.empty(); ++i) {
        const std::string& argument = arguments[i];
        if (argument.size() < 2 || argument.front() != '-') {
            result.error = command.takeOperand ? command.takeOperand(argument)
                                               : "unexpected argument '" + argument + "'";
            continue;
        }
        const std::size_t equals = argument.starts_with("--") ? argument.find('=') : argument.npos;
        const std::string name = argument.substr(0, equals);
        if (name == "--help") {
            result.help = true;
            continue;
        }
        const Option* option = nullptr;
        for (const Option& candidate : command.options) {
            option = named(candidate, name) ? &candidate : option;
        }
        if (option == nullptr) {
            result.error = "unknown option " + name;
        } else if (option->value.empty()) {
            result.error = equals == argument.npos ? option->set("") : name + " takes no value";
        } else if (equals == argument.npos && i + 1 >= arguments.size()) {
            result.error = name + " needs a value";
        } else {
            const std::string value =
                equals == argument.npos ? arguments[++i] : argument.substr(equals + 1);
            result.error = value.empty() ? name + " needs a value" : option->set(value);
        }
    }
    return result;
}

std::string helpText(const CommandSpec& command) {
    const std::string program = command.name.empty() ? "sdmweaver" : "sdmweaver " + command.name;
    std::string text = paragraphs(program + ": " + command.summary);
    text += "\nUsage:\n" + indented(command.synopsis, "  ");
    text += "\nOptions (a value follows as the next argument or after '='):\n";
    for (const Option& option : command.options) {
        text += optionLine(option);
    }
    text += optionLine({"--help", "", "Shows this text.", "", nullptr});
    if (!command.details.empty()) {
        text += '\n' + paragraphs(command.details);
    }
    if (!command.examples.empty()) {
        text += command.examples.size() == 1 ? "\nExample:\n" : "\nExamples:\n";
        for (const std::string& example : command.examples) {
            text += indented(example, "  ");
        }
    }
    return text;
}

std::string helpHint(std::string_view command) {
    return command.empty() ? "see sdmweaver --help"
                           : "see sdmweaver " + std::string(command) + " --help";
}

Setter raise(bool& flag) {
    return [&flag](const std::string&) {
        flag = true;
        return std::string();
    };
}

Setter wholeNumber(std::string option, long long minimum, std::function<void(long long)> take) {
    return [option = std::move(option), minimum, take = std::move(take)](const std::string& text) {
        long long value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc() || end != text.data() + text.size() || value < minimum) {
            return option + " takes a whole number from " + std::to_string(minimum) + ", not '" +
                   text + "'";
        }
        take(value);
        return std::string();
    };
}

Setter oneOf(std::string option, std::vector<std::string> names,
             std::function<void(std::size_t)> take) {
    return [option = std::move(option), names = std::move(names),
            take = std::move(take)](const std::string& value) {
        std::string listed;
        for (std::size_t k = 0; k < names.size(); ++k) {
            if (value == names[k]) {
                take(k);
                return std::string();
            }
            listed += (k == 0 ? "" : k + 1 == names.size() ? " or " : ", ") + names[k];
        }
        return option + " takes " + listed + ", not '" + value + "'";
    };
}

Setter oneOperand(std::string& target, const std::string& what) {
    return [&target, what](const std::string& value) -> std::string {
        if (!target.empty()) {
            return "unexpected argument '" + value + "': give one " + what;
        }
        target = value;
        return "";
    };
}

}  // namespace headless
