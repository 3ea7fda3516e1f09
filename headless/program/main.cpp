// The sdmweaver program. The run lives in the host module (ZemlarTK.exe), which the plug-in
// binds by name; the commands, the pictures and the quality report live here.

#include <exception>
#include <string>
#include <vector>

#include "headless/program/ExitStatus.h"
#include "headless/program/Program.h"

int main(int argc, char** argv) {
    // Nothing the program did not foresee ends it without a word.
    try {
        return headless::runProgram(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& error) {
        headless::say(std::string("stopped: ") + error.what());
    } catch (...) {
        headless::say("stopped on an unknown error");
    }
    return headless::kRunFailed;
}
