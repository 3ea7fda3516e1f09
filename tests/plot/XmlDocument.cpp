#include "tests/plot/XmlDocument.h"

#include <algorithm>
#include <cstdint>

namespace plottest {

const std::string* XmlElement::attribute(std::string_view attributeName) const {
    for (const auto& [key, value] : attributes) {
        if (key == attributeName) {
            return &value;
        }
    }
    return nullptr;
}

bool XmlElement::hasClass(std::string_view word) const {
    const std::string* classes = attribute("class");
    if (classes == nullptr) {
        return false;
    }
    std::string_view rest = *classes;
    while (!rest.empty()) {
        const std::size_t end = rest.find(' ');
        if (rest.substr(0, end) == word) {
            return true;
        }
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    return false;
}

std::vector<const XmlElement*> XmlElement::findAll(
    const std::function<bool(const XmlElement&)>& match) const {
    std::vector<const XmlElement*> found;
    for (const auto& child : children) {
        if (match(child)) {
            found.push_back(&child);
        }
        for (const XmlElement* below : child.findAll(match)) {
            found.push_back(below);
        }
    }
    return found;
}

std::vector<const XmlElement*> XmlElement::childrenNamed(std::string_view childName) const {
    std::vector<const XmlElement*> found;
    for (const auto& child : children) {
        if (child.name == childName) {
            found.push_back(&child);
        }
    }
    return found;
}

namespace {

bool allowedCharacter(std::uint32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
           (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

// Checks that the whole document is UTF-8 of characters XML allows; answers the offset of the
// first fault, or npos.
std::size_t firstBadCharacter(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size()) {
        const auto lead = static_cast<unsigned char>(text[at]);
        std::size_t length = lead < 0x80           ? 1
                             : (lead >> 5) == 0x6  ? 2
                             : (lead >> 4) == 0xE  ? 3
                             : (lead >> 3) == 0x1E ? 4
                                                   : 0;
        if (length == 0 || at + length > text.size()) {
            return at;
        }
        std::uint32_t c = length == 1 ? lead : (lead & (0xFFu >> (length + 1)));
        for (std::size_t i = 1; i < length; ++i) {
            const auto next = static_cast<unsigned char>(text[at + i]);
            if ((next >> 6) != 0x2) {
                return at;
            }
            c = (c << 6) | (next & 0x3Fu);
        }
        const std::uint32_t shortest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (c < shortest[length] || !allowedCharacter(c)) {
            return at;
        }
        at += length;
    }
    return std::string_view::npos;
}

bool nameCharacter(char c, bool first) {
    const auto u = static_cast<unsigned char>(c);
    if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == '_' || u == ':' || u >= 0x80) {
        return true;
    }
    return !first && ((u >= '0' && u <= '9') || u == '-' || u == '.');
}

class Parser {
  public:
    explicit Parser(std::string_view text) : text_(text) {}

    XmlParse parse() {
        XmlParse result;
        const std::size_t bad = firstBadCharacter(text_);
        if (bad != std::string_view::npos) {
            result.error =
                "not UTF-8 or a character XML does not allow at byte " + std::to_string(bad);
            return result;
        }
        if (lookingAt("<?xml")) {
            skipProcessingInstruction();
        }
        skipMisc();
        XmlElement root;
        if (error_.empty() && !element(root)) {
            fail("no root element");
        }
        skipMisc();
        if (error_.empty() && at_ != text_.size()) {
            fail("content after the root element");
        }
        if (error_.empty()) {
            result.root = std::move(root);
        } else {
            result.error = error_;
        }
        return result;
    }

  private:
    bool fail(const std::string& what) {
        if (error_.empty()) {
            error_ = what + " at byte " + std::to_string(at_);
        }
        return false;
    }
    bool lookingAt(std::string_view what) const { return text_.substr(at_).starts_with(what); }
    bool space() const {
        return at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' ||
                                      text_[at_] == '\n' || text_[at_] == '\r');
    }
    void skipSpace() {
        while (space()) {
            ++at_;
        }
    }
    bool skipPast(std::string_view end) {
        const std::size_t found = text_.find(end, at_);
        if (found == std::string_view::npos) {
            return fail("unterminated construct");
        }
        at_ = found + end.size();
        return true;
    }
    void skipProcessingInstruction() { skipPast("?>"); }
    bool skipComment() {
        at_ += 4;  // <!--
        const std::size_t end = text_.find("--", at_);
        if (end == std::string_view::npos || text_.substr(end).substr(0, 3) != "-->") {
            return fail("a comment holding -- or unterminated");
        }
        at_ = end + 3;
        return true;
    }
    void skipMisc() {
        for (;;) {
            skipSpace();
            if (lookingAt("<!--")) {
                if (!skipComment()) {
                    return;
                }
            } else if (lookingAt("<?")) {
                skipProcessingInstruction();
            } else {
                return;
            }
        }
    }

    bool name(std::string& out) {
        const std::size_t start = at_;
        if (at_ >= text_.size() || !nameCharacter(text_[at_], true)) {
            return fail("a name expected");
        }
        while (at_ < text_.size() && nameCharacter(text_[at_], false)) {
            ++at_;
        }
        out = std::string(text_.substr(start, at_ - start));
        return true;
    }

    // A reference after '&'; appends the character it stands for.
    bool reference(std::string& out) {
        const std::size_t end = text_.find(';', at_);
        if (end == std::string_view::npos || end - at_ > 10) {
            return fail("an unterminated reference");
        }
        const std::string_view body = text_.substr(at_ + 1, end - at_ - 1);
        at_ = end + 1;
        if (body == "amp") {
            out += '&';
        } else if (body == "lt") {
            out += '<';
        } else if (body == "gt") {
            out += '>';
        } else if (body == "quot") {
            out += '"';
        } else if (body == "apos") {
            out += '\'';
        } else {
            return fail("an unknown entity &" + std::string(body) + ";");
        }
        return true;
    }

    bool attribute(XmlElement& element) {
        std::string key;
        if (!name(key)) {
            return false;
        }
        skipSpace();
        if (at_ >= text_.size() || text_[at_] != '=') {
            return fail("'=' expected after attribute " + key);
        }
        ++at_;
        skipSpace();
        if (at_ >= text_.size() || (text_[at_] != '"' && text_[at_] != '\'')) {
            return fail("a quoted value expected for attribute " + key);
        }
        const char quote = text_[at_++];
        std::string value;
        while (at_ < text_.size() && text_[at_] != quote) {
            if (text_[at_] == '<') {
                return fail("'<' inside an attribute value");
            }
            if (text_[at_] == '&') {
                if (!reference(value)) {
                    return false;
                }
            } else {
                const std::size_t end =
                    std::min(text_.find_first_of(std::string{quote, '<', '&'}, at_), text_.size());
                value += text_.substr(at_, end - at_);
                at_ = end;
            }
        }
        if (at_ >= text_.size()) {
            return fail("an unterminated attribute value");
        }
        ++at_;
        if (element.attribute(key) != nullptr) {
            return fail("attribute " + key + " given twice");
        }
        element.attributes.emplace_back(key, value);
        return true;
    }

    bool element(XmlElement& element) {
        if (at_ >= text_.size() || text_[at_] != '<') {
            return false;
        }
        ++at_;
        if (!name(element.name)) {
            return false;
        }
        for (;;) {
            const bool spaced = space();
            skipSpace();
            if (lookingAt("/>")) {
                at_ += 2;
                return true;
            }
            if (lookingAt(">")) {
                ++at_;
                break;
            }
            if (!spaced) {
                return fail("white space expected before an attribute");
            }
            if (!attribute(element)) {
                return false;
            }
        }
        return content(element);
    }

    bool content(XmlElement& element) {
        while (at_ < text_.size()) {
            if (lookingAt("</")) {
                at_ += 2;
                std::string end;
                if (!name(end)) {
                    return false;
                }
                skipSpace();
                if (end != element.name || !lookingAt(">")) {
                    return fail("</" + end + "> does not close <" + element.name + ">");
                }
                ++at_;
                return true;
            }
            if (lookingAt("<!--")) {
                if (!skipComment()) {
                    return false;
                }
            } else if (lookingAt("<")) {
                XmlElement child;
                if (!this->element(child)) {
                    return fail("a malformed element");
                }
                element.children.push_back(std::move(child));
            } else if (text_[at_] == '&') {
                if (!reference(element.text)) {
                    return false;
                }
            } else {
                // A run of character data, up to the next markup or reference.
                const std::size_t end = std::min(text_.find_first_of("<&", at_), text_.size());
                const std::string_view run = text_.substr(at_, end - at_);
                if (run.find("]]>") != std::string_view::npos) {
                    return fail("]]> in character data");
                }
                element.text += run;
                at_ = end;
            }
        }
        return fail("<" + element.name + "> is never closed");
    }

    std::string_view text_;
    std::size_t at_ = 0;
    std::string error_;
};

}  // namespace

XmlParse parseXml(std::string_view document) {
    return Parser(document).parse();
}

}  // namespace plottest
