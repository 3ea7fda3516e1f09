#pragma once

// The file list a batch run works through: a declared count of protocol/time-course pairs, then
// white-space-separated paths, read and logged token by token.

#include <optional>
#include <string>
#include <vector>

namespace batch {

// How the reading of the entries ended.
enum class ListEnd {
    EndOfFile,      // every word was read
    ShortWord,      // at a one-character word, which is not an entry
    UnclosedQuote,  // at a double quote that no other closes
};

struct FileList {
    int declaredCount = 0;             // 0 when the list does not begin with a number
    std::vector<std::string> entries;  // in file order
    ListEnd end = ListEnd::EndOfFile;
    std::string endedBy;  // the word or line logged last that ended it ("^" at the end of file)
};

// Reads the list at listPath, logging its declared count, every token read (the last one is "^"
// at the end of the file, or the one-character token that ends the list early) and the list's
// path. A token that begins with a double quote runs to the next double quote and is one entry
// without the quotes. No list, after one log line, when the file cannot be opened or holds a NUL
// byte; `unreadable` (when given) then receives that line.
std::optional<FileList> readFileList(const std::string& listPath,
                                     std::string* unreadable = nullptr);

}  // namespace batch
