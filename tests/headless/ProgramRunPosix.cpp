#include <sys/wait.h>

#include <cstdlib>

#include "tests/headless/ProgramRun.h"
#include "tests/support/TestSupport.h"

namespace headlesstest {

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
                         const std::filesystem::path& folder) {
    testsupport::TempDir capture;
    std::string command = "cd " + shellWord(folder.string()) + " && " + shellWord(program);
    for (const auto& argument : arguments) {
        command += " " + shellWord(argument);
    }
    command +=
        " </dev/null >" + shellWord(capture.file("out")) + " 2>" + shellWord(capture.file("err"));
    const int raw = std::system(command.c_str());
    ProgramResult result;
    result.status = raw != -1 && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = testsupport::readText(capture.file("out"));
    result.err = testsupport::readText(capture.file("err"));
    return result;
}

}  // namespace headlesstest
