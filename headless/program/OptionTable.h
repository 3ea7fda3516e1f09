#pragma once

// How every command of the sdmweaver program reads its arguments and shows its help: a command
// declares each option once (how it is written, the value it takes, a line of help, an example,
// what it sets), and both the reading and the text of `sdmweaver COMMAND --help` come from that
// declaration.
//
// Options take their value as the next argument or after '=' (--value=-2.5); the last of a
// repeated option counts. --help is every command's.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace headless {

// What an option or an operand does with its value: the usage error, empty when it is fine.
using Setter = std::function<std::string(const std::string& value)>;

struct Option {
    std::string name;      // "--list"; a second spelling after '|': "-o|--output"
    std::string value;     // the value as the help shows it ("FILE"); empty for a switch
    std::string help;      // one paragraph, wrapped by the help text
    std::string examples;  // shown under the help as given ("--value=-2.5    --value cancel")
    Setter set;
};

struct CommandSpec {
    std::string name;      // "plot"; empty for the run itself
    std::string synopsis;  // the forms of the command line, one per line
    std::string summary;   // what the command does: paragraphs, wrapped
    std::vector<Option> options;
    Setter takeOperand;   // what an argument that is no option does; none: the command takes none
    std::string details;  // paragraphs after the options: wrapped, unless a line is indented
    std::vector<std::string> examples;  // whole command lines; long ones continue with '\'
};

struct ParsedArguments {
    bool help = false;
    std::string error;  // the usage error; empty when the arguments are fine
};

// Reads the arguments after the command's name. Stops at the first usage error.
ParsedArguments parseArguments(const CommandSpec& command,
                               const std::vector<std::string>& arguments);

// The text of `sdmweaver COMMAND --help`.
std::string helpText(const CommandSpec& command);

// "sdmweaver plot --help", or "sdmweaver --help" for the run: where a usage error points.
std::string helpHint(std::string_view command);

// Setters for the common kinds of value.
template <class Text>
Setter assign(Text& target) {
    return [&target](const std::string& value) {
        target = value;
        return std::string();
    };
}
Setter raise(bool& flag);
// A whole number from `minimum`, handed to `take`; else the usage error of `option`.
Setter wholeNumber(std::string option, long long minimum, std::function<void(long long)> take);
// One of `names`, its place among them handed to `take`; else the usage error of `option`.
Setter oneOf(std::string option, std::vector<std::string> names,
             std::function<void(std::size_t)> take);
// The one operand of a command: a second is a usage error naming `what` it stands for.
Setter oneOperand(std::string& target, const std::string& what);

}  // namespace headless
