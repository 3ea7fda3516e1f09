#include "batch/FileList.h"

#include <algorithm>
#include <cstddef>
#include <fstream>
#include <iterator>
#include <limits>
#include <string_view>

#include "host/HostOperations.h"
#include "paths/RegularFile.h"
#include "text/FormattedText.h"

namespace batch {

namespace {

// The text that stands in the token buffer when a read finds no further token.
constexpr char kNoToken[] = "^";

// White space as the "%s" and "%d" input conversions skip it.
bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Reads the list's text from the front: the head number, then one token at a time.
class ListText {
  public:
    explicit ListText(std::string_view text) : text_(text) {}

    // A decimal integer with an optional sign, after white space; 0 (and nothing taken but the
    // white space) when none stands there. Values beyond the int range saturate.
    int headNumber() {
        skipBlanks();
        std::size_t at = pos_;
        const bool negative = at < text_.size() && text_[at] == '-';
        if (at < text_.size() && (text_[at] == '-' || text_[at] == '+')) {
            ++at;
        }
        if (at >= text_.size() || !isDigit(text_[at])) {
            return 0;
        }
        long long magnitude = 0;
        constexpr long long kLimit = static_cast<long long>(std::numeric_limits<int>::max()) + 1;
        for (; at < text_.size() && isDigit(text_[at]); ++at) {
            magnitude = std::min(kLimit, magnitude * 10 + (text_[at] - '0'));
        }
        pos_ = at;
        const long long value = negative ? -magnitude : std::min(magnitude, kLimit - 1);
        return static_cast<int>(value);
    }

    enum class Token { None, Plain, Quoted, UnterminatedQuote };

    // The next white-space-delimited token, or the text between a leading double quote and the
    // next one.
    Token next(std::string& token) {
        skipBlanks();
        if (pos_ >= text_.size()) {
            return Token::None;
        }
        if (text_[pos_] == '"') {
            const std::size_t close = text_.find('"', pos_ + 1);
            if (close == std::string_view::npos) {
                pos_ = text_.size();
                return Token::UnterminatedQuote;
            }
            token.assign(text_.substr(pos_ + 1, close - pos_ - 1));
            pos_ = close + 1;
            return Token::Quoted;
        }
        const std::size_t start = pos_;
        while (pos_ < text_.size() && !isBlank(text_[pos_])) {
            ++pos_;
        }
        token.assign(text_.substr(start, pos_ - start));
        return Token::Plain;
    }

  private:
    void skipBlanks() {
        while (pos_ < text_.size() && isBlank(text_[pos_])) {
            ++pos_;
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

}  // namespace

std::optional<FileList> readFileList(const std::string& listPath, std::string* unreadable) {
    const auto refuse = [&](const std::string& line) {
        host::logText(line);
        if (unreadable != nullptr) {
            *unreadable = line;
        }
        return std::nullopt;
    };
    if (paths::isIrregularFile(listPath)) {
        host::logText(paths::irregularFileText(listPath));
        return refuse(text::formatText("The file list could not be opened: %s", listPath.c_str()));
    }
    std::ifstream in(listPath);
    if (!in.is_open()) {
        return refuse(text::formatText("The file list could not be opened: %s", listPath.c_str()));
    }
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    in.close();
    // Every entry ends up as a NUL-terminated path: a NUL inside the text would cut it there while
    // its kind came from the whole token. A list with one is no plain text (UTF-16, binary data).
    if (const std::size_t nul = text.find('\0'); nul != std::string::npos) {
        return refuse(text::formatText(
            "The file list %s holds a NUL byte at byte %zu: it is not a plain text file (saved as "
            "UTF-16?), so none of it is read.",
            listPath.c_str(), nul + 1));
    }

    FileList list;
    ListText reader(text);
    list.declaredCount = reader.headNumber();
    host::logFormat("Number of PRT-VTC pairs: %d", list.declaredCount);
    host::logText("Reading filenames...");
    std::string token;
    for (;;) {
        const ListText::Token read = reader.next(token);
        if (read == ListText::Token::None) {
            list.endedBy = kNoToken;
            host::logText(list.endedBy);
            break;
        }
        if (read == ListText::Token::UnterminatedQuote) {
            list.end = ListEnd::UnclosedQuote;
            list.endedBy = "A quoted entry has no closing double quote: the list ends before it.";
            host::logText(list.endedBy);
            break;
        }
        host::logText(token);
        // A quoted entry is always taken; a plain token shorter than two characters ends the list.
        if (read == ListText::Token::Plain && token.size() < 2) {
            list.end = ListEnd::ShortWord;
            list.endedBy = token;
            break;
        }
        list.entries.push_back(token);
    }
    host::logFormat("Generating SDM(s) from: %s", listPath.c_str());
    return list;
}

}  // namespace batch
