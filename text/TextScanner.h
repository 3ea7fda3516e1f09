#pragma once

// Token reading of the design-matrix and time-course text layouts, a block at a time: reads
// exactly what TokenReader reads from the same text (the same tokens, numbers and failures, the
// same end-of-input state) without formatted stream extraction, which is many times slower.

#include <cstddef>
#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace text {

class TextScanner {
  public:
    static constexpr std::size_t kDefaultBlockSize = 16 * 1024;

    // Reads `in` from its position on, `blockSize` characters at a time; the stream is only read
    // through its buffer, and must outlive the scanner.
    explicit TextScanner(std::istream& in, std::size_t blockSize = kDefaultBlockSize);

    // Each read below behaves as TokenReader's of the same name, stored values included.
    bool word(std::string& token);
    bool name(std::string& token);
    bool integer(std::int32_t& value);
    bool number(double& value);
    // The same, and the characters the number was read from, valid until the next read.
    bool number(double& value, std::string_view& text);
    bool skipQuotes(std::int64_t count);

    // Skips blanks and tabs; true when a line end or the end of the input follows (not read).
    bool atLineEnd();
    // Reads the words left on the current line; how many there were.
    std::int64_t wordsToLineEnd();

    bool good() const { return !failed_; }
    // True once a read ran into the end of the input, as the stream's eof() says.
    bool eof() const { return endSeen_; }
    // Characters not yet read; nothing when the stream cannot tell.
    std::optional<std::int64_t> charactersLeft();
    // Characters read or skipped so far.
    std::int64_t position() const { return consumed_ + static_cast<std::int64_t>(next_); }

  private:
    // Reads the next block behind the characters from `keep` on, which move to the front.
    // False when the input has ended.
    bool refill(std::size_t& keep);
    // Skips white space as extraction does; false (failed, end seen) when the input ends first.
    bool skipWhiteSpace();
    bool fail();

    std::istream& in_;
    std::vector<char> buffer_;
    std::size_t next_ = 0;       // the next character to read in buffer_
    std::size_t end_ = 0;        // one past the last character in buffer_
    std::int64_t consumed_ = 0;  // characters dropped from the front of buffer_ so far
    bool inputEnded_ = false;
    bool endSeen_ = false;
    bool failed_ = false;
};

}  // namespace text
