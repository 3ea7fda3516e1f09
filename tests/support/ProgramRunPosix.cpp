#include <sys/wait.h>

#include <cstdlib>

#include "tests/support/ProgramRun.h"
#include "tests/support/TestSupport.h"

namespace testsupport {

namespace {

// One word for the shell, whatever it holds.
std::string shellWord(const std::string& text) {
    std::string result = "'";
    for (char c : text) {
        result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return result + "'";
}

}  // namespace

ProgramResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::filesystem::path& folder,
                         const std::vector<std::string>& wrapper) {
    TempDir capture;
    std::string command = "cd " + shellWord(folder.string()) + " &&";
    for (const auto& word : wrapper) {
        command += " " + shellWord(word);
    }
    command += " " + shellWord(program);
    for (const auto& argument : arguments) {
        command += " " + shellWord(argument);
    }
    command +=
        " </dev/null >" + shellWord(capture.file("out")) + " 2>" + shellWord(capture.file("err"));
    const int raw = std::system(command.c_str());
    ProgramResult result;
    result.exited = raw != -1 && WIFEXITED(raw);
    result.status = result.exited ? WEXITSTATUS(raw) : -1;
    result.out = readText(capture.file("out"));
    result.err = readText(capture.file("err"));
    return result;
}

}  // namespace testsupport
