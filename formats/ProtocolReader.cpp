#include "formats/ProtocolReader.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <fstream>
#include <iterator>
#include <limits>
#include <stdexcept>

#include "paths/RegularFile.h"

namespace formats {

namespace {

bool isBlank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool equalsWithoutCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::vector<std::string_view> tokens(std::string_view text) {
    std::vector<std::string_view> result;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isBlank(text[i])) {
            ++i;
        }
        const std::size_t start = i;
        while (i < text.size() && !isBlank(text[i])) {
            ++i;
        }
        if (i > start) {
            result.push_back(text.substr(start, i - start));
        }
    }
    return result;
}

template <typename Number>
bool parseNumber(std::string_view token, Number& value) {
    if (!token.empty() && token.front() == '+') {
        token.remove_prefix(1);
    }
    const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
    return error == std::errc() && end == token.data() + token.size();
}

// A piece of the file as a message shows it: at most 60 characters, control characters and bytes
// above 126 written as \xNN, so that a line of binary data stays one short, readable line.
std::string shown(std::string_view text) {
    constexpr std::size_t kShownLength = 60;
    std::string result;
    for (std::size_t i = 0; i < text.size() && i < kShownLength; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c > 0x7E) {
            constexpr char kDigits[] = "0123456789ABCDEF";
            result += "\\x";
            result += kDigits[c >> 4];
            result += kDigits[c & 0xF];
        } else {
            result += static_cast<char>(c);
        }
    }
    if (text.size() > kShownLength) {
        result += "...";
    }
    return result;
}

// A fault in the file: the line it lies on and what is wrong there.
struct ProtocolError : std::runtime_error {
    ProtocolError(int lineNumber, const std::string& what)
        : std::runtime_error("line " + std::to_string(lineNumber) + ": " + what),
          line(lineNumber) {}
    int line;
};

// Walks the file line by line; blank lines are skipped wherever they stand.
class ProtocolParser {
  public:
    explicit ProtocolParser(std::string_view text) {
        if (text.starts_with("\xEF\xBB\xBF")) {
            text.remove_prefix(3);  // a byte-order mark some editors write
        }
        // Lines end with LF, CR LF or a lone CR (the line end of old Mac editors).
        while (!text.empty()) {
            const std::size_t end = text.find_first_of("\r\n");
            lines_.push_back(text.substr(0, end));
            if (end == std::string_view::npos) {
                break;
            }
            const bool crLf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
            text.remove_prefix(end + (crLf ? 2 : 1));
        }
    }

    Protocol parse(std::vector<std::string>& notes) {
        if (!skipBlankLines()) {
            current_ = 1;
            fail("the file is empty; a protocol begins with its header lines");
        }
        Protocol protocol;
        std::optional<int> conditionCount;
        while (!conditionCount) {
            const std::string_view line = nextLine("the header line NrOfConditions");
            const std::size_t colon = line.find(':');
            if (colon == std::string_view::npos) {
                fail(
                    "expected a header line 'Key: value' (the header ends with NrOfConditions), "
                    "found '" +
                    shown(line) + "'");
            }
            const std::string_view key = trim(line.substr(0, colon));
            const std::string_view value = trim(line.substr(colon + 1));
            if (equalsWithoutCase(key, "NrOfConditions")) {
                conditionCount =
                    integerIn(value, "NrOfConditions", 0, std::numeric_limits<std::int32_t>::max());
            } else if (!readHeaderEntry(protocol, key, value)) {
                notes.push_back("line " + std::to_string(lineNumber()) + ": unknown key '" +
                                shown(key) + "' ignored");
            }
        }
        for (int c = 0; c < *conditionCount; ++c) {
            protocol.conditions.push_back(readCondition(protocol, c + 1, *conditionCount));
        }
        if (skipBlankLines()) {
            ++current_;
            fail("text after the last of the " + std::to_string(*conditionCount) +
                 " conditions: '" + shown(trim(lines_[current_ - 1])) + "'");
        }
        return protocol;
    }

  private:
    int lineNumber() const { return static_cast<int>(current_); }

    [[noreturn]] void fail(const std::string& what) const {
        throw ProtocolError(lineNumber(), what);
    }

    // Moves past blank lines; true when a line with text follows.
    bool skipBlankLines() {
        while (current_ < lines_.size() && trim(lines_[current_]).empty()) {
            ++current_;
        }
        return current_ < lines_.size();
    }

    // The next line with text, trimmed; at the end of the file a fault naming what was expected.
    std::string_view nextLine(const std::string& expected) {
        if (!skipBlankLines()) {
            current_ = lines_.size();
            fail("the file ends where " + expected + " was expected");
        }
        return trim(lines_[current_++]);
    }

    int integerIn(std::string_view text, const std::string& what, int minimum, int maximum) {
        const auto parts = tokens(text);
        int value = 0;
        if (parts.size() != 1 || !parseNumber(parts[0], value)) {
            fail("expected one whole number for " + what + ", found '" + shown(text) + "'");
        }
        if (value < minimum || value > maximum) {
            fail(what + " is " + std::to_string(value) + "; it must lie between " +
                 std::to_string(minimum) + " and " + std::to_string(maximum));
        }
        return value;
    }

    std::int32_t colorOf(std::string_view text, const std::string& what) {
        const auto parts = tokens(text);
        int rgb[3] = {};
        bool ok = parts.size() == 3;
        for (std::size_t i = 0; ok && i < 3; ++i) {
            ok = parseNumber(parts[i], rgb[i]) && rgb[i] >= 0 && rgb[i] <= 255;
        }
        if (!ok) {
            fail("expected three whole numbers from 0 to 255 for " + what + ", found '" +
                 shown(text) + "'");
        }
        return rgb[0] << 16 | rgb[1] << 8 | rgb[2];
    }

    // Takes one header entry; false for a key the host does not know.
    bool readHeaderEntry(Protocol& protocol, std::string_view key, std::string_view value) {
        if (equalsWithoutCase(key, "FileVersion")) {
            protocol.fileVersion = integerIn(value, "FileVersion", 1, 3);
        } else if (equalsWithoutCase(key, "ResolutionOfTime")) {
            if (equalsWithoutCase(value, "Volumes")) {
                protocol.resolution = TimeResolution::Volumes;
            } else if (equalsWithoutCase(value, "msec")) {
                protocol.resolution = TimeResolution::Milliseconds;
            } else {
                fail("ResolutionOfTime must be Volumes or msec, found '" + shown(value) + "'");
            }
        } else if (equalsWithoutCase(key, "Experiment")) {
            protocol.experimentName = std::string(value);
        } else if (equalsWithoutCase(key, "BackgroundColor")) {
            protocol.backgroundColor = colorOf(value, "BackgroundColor");
        } else if (equalsWithoutCase(key, "TextColor")) {
            protocol.textColor = colorOf(value, "TextColor");
        } else if (equalsWithoutCase(key, "TimeCourseColor")) {
            protocol.timeCourseColor = colorOf(value, "TimeCourseColor");
        } else if (equalsWithoutCase(key, "ReferenceFuncColor")) {
            protocol.referenceFuncColor = colorOf(value, "ReferenceFuncColor");
        } else if (equalsWithoutCase(key, "TimeCourseThick")) {
            protocol.timeCourseThick = integerIn(value, "TimeCourseThick", 0, 1000);
        } else if (equalsWithoutCase(key, "ReferenceFuncThick")) {
            protocol.referenceFuncThick = integerIn(value, "ReferenceFuncThick", 0, 1000);
        } else if (equalsWithoutCase(key, "ParametricWeights")) {
            protocol.parametricWeights = integerIn(value, "ParametricWeights", 0, 1000);
        } else {
            return false;
        }
        return true;
    }

    ProtocolCondition readCondition(const Protocol& protocol, int number, int count) {
        const std::string which =
            "condition " + std::to_string(number) + " of " + std::to_string(count);
        ProtocolCondition condition;
        condition.name = std::string(nextLine("the name of " + which));
        const int intervalCount =
            integerIn(nextLine("the number of intervals of " + which), "the number of intervals", 0,
                      std::numeric_limits<std::int32_t>::max());
        const auto weightCount = static_cast<std::size_t>(protocol.parametricWeights);
        for (int k = 0; k < intervalCount; ++k) {
            const std::string interval =
                "interval " + std::to_string(k + 1) + " of " + std::to_string(intervalCount);
            const auto parts = tokens(nextLine(interval + " of " + which));
            std::int32_t start = 0;
            std::int32_t end = 0;
            if (parts.size() != 2 + weightCount || !parseNumber(parts[0], start) ||
                !parseNumber(parts[1], end)) {
                fail("expected " + interval + " of " + which + ": two whole numbers (start, end)" +
                     (weightCount > 0 ? " and " + std::to_string(weightCount) + " weight(s)"
                                      : std::string()));
            }
            if (end < start) {
                fail(interval + " of " + which + " ends (" + std::to_string(end) +
                     ") before it starts (" + std::to_string(start) + ")");
            }
            for (std::size_t w = 0; w < weightCount; ++w) {
                double weight = 0.0;
                if (!parseNumber(parts[2 + w], weight) || !std::isfinite(weight)) {
                    fail("weight " + std::to_string(w + 1) + " of " + interval + " of " + which +
                         " is not a finite number: '" + shown(parts[2 + w]) + "'");
                }
                condition.weights.push_back(weight);
            }
            condition.starts.push_back(start);
            condition.ends.push_back(end);
        }
        const std::string_view colorLine = nextLine("the Color line of " + which);
        const std::size_t colon = colorLine.find(':');
        if (colon == std::string_view::npos ||
            !equalsWithoutCase(trim(colorLine.substr(0, colon)), "Color")) {
            fail("expected 'Color: r g b' after the intervals of " + which + ", found '" +
                 shown(colorLine) + "'");
        }
        condition.color = colorOf(colorLine.substr(colon + 1), "the Color of " + which);
        return condition;
    }

    std::vector<std::string_view> lines_;
    std::size_t current_ = 0;  // index of the next line; after a read, the 1-based number of it
};

}  // namespace

ProtocolRead parseProtocol(std::string_view text) {
    ProtocolRead result;
    try {
        ProtocolParser parser(text);
        result.protocol = parser.parse(result.notes);
    } catch (const ProtocolError& error) {
        result.errorLine = error.line;
        result.error = error.what();
    }
    return result;
}

ProtocolRead readProtocolFile(const std::string& path) {
    if (paths::isIrregularFile(path)) {
        ProtocolRead result;
        result.error = paths::irregularFileText(path);
        return result;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        ProtocolRead result;
        result.error = "cannot open the protocol " + path;
        return result;
    }
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ProtocolRead result = parseProtocol(text);
    if (result.protocol) {
        result.protocol->fileName = path;
    } else {
        result.error = path + ", " + result.error;
    }
    return result;
}

}  // namespace formats
