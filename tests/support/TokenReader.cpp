#include "tests/support/TokenReader.h"

#include <locale>

namespace testsupport {

TokenReader::TokenReader(std::istream& in) : in_(in) {
    in_.imbue(std::locale::classic());
}

bool TokenReader::word(std::string& token) {
    return static_cast<bool>(in_ >> token);
}

bool TokenReader::name(std::string& token) {
    if (!(in_ >> std::ws) || in_.peek() != '"') {
        return word(token);
    }
    token.clear();
    token.push_back(static_cast<char>(in_.get()));
    char c = '\0';
    while (in_.get(c)) {
        if (c == '\n' || c == '\r') {
            // Names stand on one line: a line end before the closing quote ends the reading.
            in_.setstate(std::ios::failbit);
            return false;
        }
        token.push_back(c);
        if (c == '"') {
            return true;
        }
    }
    return false;  // the closing quote never came
}

bool TokenReader::integer(std::int32_t& value) {
    return static_cast<bool>(in_ >> value);
}

bool TokenReader::number(double& value) {
    return static_cast<bool>(in_ >> value);
}

bool TokenReader::skipQuotes(std::int64_t count) {
    char c = '\0';
    for (std::int64_t seen = 0; seen < count;) {
        if (!(in_ >> c)) {
            return false;
        }
        if (c == '"') {
            ++seen;
        }
    }
    return true;
}

}  // namespace testsupport
