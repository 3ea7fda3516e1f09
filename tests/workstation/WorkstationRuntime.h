#pragma once

// The little a program needs when it is built as the workstation is (Microsoft's C++ ABI) but with
// neither Microsoft's C++ and C runtime nor its SDK: the Windows functions it calls, declared
// here and imported through MinGW's import libraries, text output, texts, and the command line.

using Size = decltype(sizeof 0);

extern "C" {
// kernel32.dll
__declspec(dllimport) void* GetStdHandle(unsigned long which);
__declspec(dllimport) int WriteFile(void* file, const void* bytes, unsigned long count,
                                    unsigned long* written, void* overlapped);
__declspec(dllimport) void* LoadLibraryA(const char* path);
__declspec(dllimport) void* GetProcAddress(void* module, const char* name);
__declspec(dllimport) void* GetModuleHandleA(const char* name);
__declspec(dllimport) unsigned long GetModuleFileNameA(void* module, char* path,
                                                       unsigned long size);
__declspec(dllimport) char* GetCommandLineA();
[[noreturn]] __declspec(dllimport) void ExitProcess(unsigned int status);
// msvcrt.dll: the heap the plug-in module allocates from and frees to.
__declspec(dllimport) void* malloc(Size size);
__declspec(dllimport) void free(void* block);
}

namespace workstation {

// Writes the texts one after the other to standard output (toError: standard error).
void write(bool toError, const char* a, const char* b = "", const char* c = "");

bool sameText(const char* a, const char* b);
bool startsWith(const char* text, const char* prefix);
bool endsWith(const char* text, const char* suffix);
bool holdsLineBreak(const char* text);
// Copies at most size - 1 characters of text into buffer and ends it; false when it was cut.
bool copyText(char* buffer, Size size, const char* text);

// The program's command line, split as Microsoft's C runtime splits it; argv[argc] is null.
struct Arguments {
    int argc = 0;
    char** argv = nullptr;
};
Arguments commandLineArguments();

// The folder of this program, ending in a backslash, with name appended; null when too long.
const char* besideThisProgram(const char* name);

}  // namespace workstation
