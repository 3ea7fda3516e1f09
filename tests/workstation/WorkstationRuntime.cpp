#include "tests/workstation/WorkstationRuntime.h"

// Allocation goes to msvcrt.dll's heap, which the plug-in module (built by MinGW against that
// runtime) allocates from and frees to: an object this program builds with `new`, the module may
// delete through its virtual destructor. Without exceptions a failed allocation answers null.
void* operator new(Size size) {
    return malloc(size);
}
void operator delete(void* block) noexcept {
    free(block);
}
void operator delete(void* block, Size) noexcept {
    free(block);
}

// The compiler's mark that the program uses floating point, which Microsoft's runtime defines.
extern "C" int _fltused = 0;

namespace workstation {

namespace {

constexpr unsigned long kStandardOutput = static_cast<unsigned long>(-11);
constexpr unsigned long kStandardError = static_cast<unsigned long>(-12);

Size lengthOf(const char* text) {
    Size length = 0;
    while (text[length] != '\0') {
        ++length;
    }
    return length;
}

void writeOne(bool toError, const char* text) {
    unsigned long written = 0;
    WriteFile(GetStdHandle(toError ? kStandardError : kStandardOutput), text,
              static_cast<unsigned long>(lengthOf(text)), &written, nullptr);
}

}  // namespace

void write(bool toError, const char* a, const char* b, const char* c) {
    writeOne(toError, a);
    writeOne(toError, b);
    writeOne(toError, c);
}

bool sameText(const char* a, const char* b) {
    while (*a != '\0' && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

bool startsWith(const char* text, const char* prefix) {
    while (*prefix != '\0') {
        if (*text++ != *prefix++) {
            return false;
        }
    }
    return true;
}

bool endsWith(const char* text, const char* suffix) {
    const Size length = lengthOf(text);
    const Size suffixLength = lengthOf(suffix);
    return suffixLength <= length && sameText(text + length - suffixLength, suffix);
}

bool holdsLineBreak(const char* text) {
    for (; *text != '\0'; ++text) {
        if (*text == '\n' || *text == '\r') {
            return true;
        }
    }
    return false;
}

bool copyText(char* buffer, Size size, const char* text) {
    Size at = 0;
    for (; at + 1 < size && text[at] != '\0'; ++at) {
        buffer[at] = text[at];
    }
    buffer[at] = '\0';
    return text[at] == '\0';
}

// Blanks and tabs separate arguments; double quotes group; 2n backslashes before a quote are n
// backslashes and the quote groups, 2n + 1 are n backslashes and a literal quote; other
// backslashes are literal.
Arguments commandLineArguments() {
    static char text[32768];
    static char* pointers[256];
    const char* from = GetCommandLineA();
    char* to = text;
    char* const end = text + sizeof text - 1;
    Arguments arguments;
    arguments.argv = pointers;
    constexpr int kMaxArguments = static_cast<int>(sizeof pointers / sizeof pointers[0]) - 1;
    while (arguments.argc < kMaxArguments) {
        while (*from == ' ' || *from == '\t') {
            ++from;
        }
        if (*from == '\0') {
            break;
        }
        pointers[arguments.argc++] = to;
        bool quoted = false;
        while (*from != '\0' && (quoted || (*from != ' ' && *from != '\t')) && to < end) {
            Size backslashes = 0;
            while (*from == '\\') {
                ++backslashes;
                ++from;
            }
            if (*from == '"') {
                for (Size i = 0; i < backslashes / 2 && to < end; ++i) {
                    *to++ = '\\';
                }
                if (backslashes % 2 == 1) {
                    *to++ = '"';
                } else {
                    quoted = !quoted;
                }
                ++from;
            } else {
                for (Size i = 0; i < backslashes && to < end; ++i) {
                    *to++ = '\\';
                }
                if (*from != '\0' && (quoted || (*from != ' ' && *from != '\t')) && to < end) {
                    *to++ = *from++;
                }
            }
        }
        *to = '\0';
        if (to < end) {
            ++to;
        }
    }
    pointers[arguments.argc] = nullptr;
    return arguments;
}

const char* besideThisProgram(const char* name) {
    static char path[1024];
    const unsigned long length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) {
        return nullptr;
    }
    Size folderEnd = length;
    while (folderEnd > 0 && path[folderEnd - 1] != '\\' && path[folderEnd - 1] != '/') {
        --folderEnd;
    }
    return copyText(path + folderEnd, sizeof path - folderEnd, name) ? path : nullptr;
}

}  // namespace workstation
