#pragma once

// Values written as the design-matrix writer writes them, without a stream or formatted
// printing: the same characters, many times faster.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace text {

// Room that any one number text below needs: "%4.6lf" of the largest double is 316 characters.
inline constexpr std::size_t kNumberTextRoom = 330;

// Writes the value at `out` as an output stream with its default settings writes it in the
// classic locale: at most six significant digits, trailing zeros dropped, exponent form for
// magnitudes below 1e-4 or from 1e6 on ("%.6g"). Returns the end of the text; `out` has room
// for kNumberTextRoom characters.
char* writeDefaultNotation(char* out, double value);

// Writes the value at `out` as "%4.6lf" writes it in the classic locale: six decimals, at least
// four characters. Returns the end of the text; `out` has room for kNumberTextRoom characters.
char* writeSixDecimals(char* out, double value);

// True when `text` is exactly what writeDefaultNotation writes for the number it reads as: a
// decimal of at most six significant digits, without exponent, '+', surplus zeros or a bare
// point. Such a text can be copied instead of converted twice.
bool isDefaultNotation(std::string_view text);

// The same texts, appended.
void appendDefaultNotation(std::string& text, double value);
void appendSixDecimals(std::string& text, double value);

// Text composed from numbers and single characters, growing as it needs to.
class TextLine {
  public:
    // Room for `capacity` characters from the start.
    explicit TextLine(std::size_t capacity = 0) : text_(capacity + kNumberTextRoom) {}

    void clear() { size_ = 0; }
    void defaultNotation(double value) { grow(writeDefaultNotation(room(), value)); }
    void sixDecimals(double value) { grow(writeSixDecimals(room(), value)); }
    void text(std::string_view characters) {
        char* end = room();
        if (characters.size() > kNumberTextRoom) {
            text_.resize(text_.size() + characters.size());
            end = text_.data() + size_;
        }
        characters.copy(end, characters.size());
        size_ += characters.size();
    }
    void character(char c) {
        *room() = c;
        ++size_;
    }

    const char* data() const { return text_.data(); }
    std::size_t size() const { return size_; }

  private:
    void grow(const char* end) { size_ = static_cast<std::size_t>(end - text_.data()); }
    // The end of the text, with room for one more number text behind it.
    char* room() {
        if (text_.size() - size_ < kNumberTextRoom) {
            text_.resize(2 * text_.size() + kNumberTextRoom);
        }
        return text_.data() + size_;
    }

    std::vector<char> text_;
    std::size_t size_ = 0;
};

}  // namespace text
