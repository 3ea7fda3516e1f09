#include "text/TextScanner.h"

#include <algorithm>
#include <cstring>

#include "text/NumberParsing.h"

namespace text {

namespace {

// White space of the classic locale.
bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

TextScanner::TextScanner(std::istream& in, std::size_t blockSize)
    : in_(in), buffer_(std::max<std::size_t>(blockSize, 1)) {}

bool TextScanner::refill(std::size_t& keep) {
    if (inputEnded_) {
        return false;
    }
    const std::size_t kept = end_ - keep;
    if (keep > 0) {
        std::memmove(buffer_.data(), buffer_.data() + keep, kept);
        consumed_ += static_cast<std::int64_t>(keep);
        next_ -= keep;
        end_ = kept;
        keep = 0;
    }
    if (end_ == buffer_.size()) {
        buffer_.resize(buffer_.size() * 2);  // one token longer than a block
    }
    std::streambuf* source = in_.rdbuf();
    const std::streamsize wanted = static_cast<std::streamsize>(buffer_.size() - end_);
    const std::streamsize got =
        source != nullptr ? source->sgetn(buffer_.data() + end_, wanted) : 0;
    if (got <= 0) {
        inputEnded_ = true;
        return false;
    }
    end_ += static_cast<std::size_t>(got);
    return true;
}

bool TextScanner::fail() {
    failed_ = true;
    return false;
}

bool TextScanner::skipWhiteSpace() {
    for (;;) {
        while (next_ < end_ && isSpace(buffer_[next_])) {
            ++next_;
        }
        if (next_ < end_) {
            return true;
        }
        std::size_t keep = next_;
        if (!refill(keep)) {
            endSeen_ = true;
            return fail();
        }
    }
}

bool TextScanner::word(std::string& token) {
    // A read after a failure, or after the end of the input was seen, fails at once.
    if (failed_ || endSeen_ || !skipWhiteSpace()) {
        return fail();
    }
    std::size_t start = next_;
    for (;;) {
        while (next_ < end_ && !isSpace(buffer_[next_])) {
            ++next_;
        }
        if (next_ < end_ || !refill(start)) {
            break;
        }
    }
    if (next_ == end_) {
        endSeen_ = true;
    }
    token.assign(buffer_.data() + start, next_ - start);
    return true;
}

bool TextScanner::name(std::string& token) {
    if (failed_ || endSeen_ || !skipWhiteSpace()) {
        return fail();
    }
    if (buffer_[next_] != '"') {
        return word(token);
    }
    token.clear();
    token.push_back('"');
    ++next_;
    for (;;) {
        std::size_t at = next_;
        while (at < end_ && buffer_[at] != '"' && buffer_[at] != '\n' && buffer_[at] != '\r') {
            ++at;
        }
        if (at < end_) {
            if (buffer_[at] != '"') {
                // Names stand on one line: a line end before the closing quote ends the reading.
                token.append(buffer_.data() + next_, at - next_);
                next_ = at + 1;
                return fail();
            }
            token.append(buffer_.data() + next_, at + 1 - next_);
            next_ = at + 1;
            return true;
        }
        token.append(buffer_.data() + next_, end_ - next_);
        next_ = end_;
        std::size_t keep = next_;
        if (!refill(keep)) {
            endSeen_ = true;  // the closing quote never came
            return fail();
        }
    }
}

bool TextScanner::integer(std::int32_t& value) {
    if (failed_ || endSeen_ || !skipWhiteSpace()) {
        return fail();
    }
    std::size_t start = next_;
    for (;;) {
        const char* first = buffer_.data() + start;
        const char* last = buffer_.data() + end_;
        const NumberScan scan = scanInteger(first, last, value);
        const auto taken = static_cast<std::size_t>(scan.end - first);
        if (scan.end == last && refill(start)) {
            continue;  // the number may go on in the next block: scan it again
        }
        next_ = start + taken;
        if (next_ == end_) {
            endSeen_ = true;
        }
        return scan.ok || fail();
    }
}

bool TextScanner::number(double& value) {
    std::string_view text;
    return number(value, text);
}

bool TextScanner::number(double& value, std::string_view& text) {
    if (failed_ || endSeen_ || !skipWhiteSpace()) {
        return fail();
    }
    std::size_t start = next_;
    for (;;) {
        const char* first = buffer_.data() + start;
        const char* last = buffer_.data() + end_;
        const NumberScan scan = scanDouble(first, last, value);
        const auto taken = static_cast<std::size_t>(scan.end - first);
        if (scan.end == last && refill(start)) {
            continue;
        }
        next_ = start + taken;
        if (next_ == end_) {
            endSeen_ = true;
        }
        text = std::string_view(buffer_.data() + start, taken);
        return scan.ok || fail();
    }
}

bool TextScanner::skipQuotes(std::int64_t count) {
    for (std::int64_t seen = 0; seen < count;) {
        if (failed_ || endSeen_ || !skipWhiteSpace()) {
            return fail();
        }
        if (buffer_[next_++] == '"') {
            ++seen;
        }
    }
    return true;
}

bool TextScanner::atLineEnd() {
    for (;;) {
        while (next_ < end_ && isSpace(buffer_[next_]) && buffer_[next_] != '\n' &&
               buffer_[next_] != '\r') {
            ++next_;
        }
        if (next_ < end_) {
            return buffer_[next_] == '\n' || buffer_[next_] == '\r';
        }
        std::size_t keep = next_;
        if (!refill(keep)) {
            return true;
        }
    }
}

std::int64_t TextScanner::wordsToLineEnd() {
    std::int64_t words = 0;
    std::string skipped;
    while (!atLineEnd() && word(skipped)) {
        ++words;
    }
    return words;
}

std::optional<std::int64_t> TextScanner::charactersLeft() {
    if (endSeen_) {
        return 0;
    }
    const auto buffered = static_cast<std::int64_t>(end_ - next_);
    if (inputEnded_) {
        return buffered;
    }
    const std::istream::pos_type here = in_.tellg();
    if (here == std::istream::pos_type(-1)) {
        return std::nullopt;
    }
    in_.seekg(0, std::ios::end);
    const std::istream::pos_type end = in_.tellg();
    in_.seekg(here);
    if (end == std::istream::pos_type(-1) || !in_) {
        return std::nullopt;
    }
    return buffered + static_cast<std::int64_t>(end - here);
}

}  // namespace text
