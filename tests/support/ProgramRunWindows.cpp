#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <algorithm>

#include "tests/support/ProgramRun.h"
#include "tests/support/TestSupport.h"

namespace testsupport {

namespace {

// One argument as the C runtime of the started program splits its command line: quoted when it
// is empty or holds blanks or quotes; a quote is escaped, and so are the backslashes before one.
std::string commandLineWord(const std::string& argument) {
    if (!argument.empty() && argument.find_first_of(" \t\n\v\"") == std::string::npos) {
        return argument;
    }
    std::string result = "\"";
    std::size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        result.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        result += c;
    }
    result.append(2 * backslashes, '\\');
    return result + "\"";
}

// A file the started program inherits as one of its standard handles.
HANDLE inheritedFile(const std::string& path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES security{};
    security.nLength = sizeof(security);
    security.bInheritHandle = TRUE;
    return ::CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &security,
                         disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

int startAndWait(std::string program, const std::vector<std::string>& arguments,
                 const std::filesystem::path& folder, HANDLE in, HANDLE out, HANDLE err) {
    std::replace(program.begin(), program.end(), '/', '\\');
    std::string commandLine = commandLineWord(program);
    for (const auto& argument : arguments) {
        commandLine += " " + commandLineWord(argument);
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    const std::string directory = folder.string();
    if (!::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                          directory.c_str(), &startup, &process)) {
        return -1;
    }
    ::CloseHandle(process.hThread);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 0;
    const bool known = ::GetExitCodeProcess(process.hProcess, &status) != 0;
    ::CloseHandle(process.hProcess);
    return known ? static_cast<int>(status) : -1;
}

}  // namespace

ProgramResult runProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::filesystem::path& folder,
                         const std::vector<std::string>& /*wrapper*/) {
    TempDir capture;
    const HANDLE in = inheritedFile("NUL", GENERIC_READ, OPEN_EXISTING);
    const HANDLE out = inheritedFile(capture.file("out"), GENERIC_WRITE, CREATE_ALWAYS);
    const HANDLE err = inheritedFile(capture.file("err"), GENERIC_WRITE, CREATE_ALWAYS);
    ProgramResult result;
    if (in != INVALID_HANDLE_VALUE && out != INVALID_HANDLE_VALUE && err != INVALID_HANDLE_VALUE) {
        result.status = startAndWait(program, arguments, folder, in, out, err);
        result.exited = result.status != -1;
    }
    for (HANDLE handle : {in, out, err}) {
        if (handle != INVALID_HANDLE_VALUE) {
            ::CloseHandle(handle);
        }
    }
    result.out = readText(capture.file("out"));
    result.err = readText(capture.file("err"));
    return result;
}

}  // namespace testsupport
