#pragma once

// A small, strict XML reader for the tests: it checks that a document is well-formed (one root,
// matching tags, quoted and unique attributes, only the five named references, UTF-8 text of
// allowed characters; no CDATA sections) and answers its elements as a tree.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace plottest {

struct XmlElement {
    std::string name;
    std::vector<std::pair<std::string, std::string>> attributes;  // values with references resolved
    std::vector<XmlElement> children;
    std::string text;  // the character data directly inside, references resolved

    // The attribute's value; null when there is none.
    const std::string* attribute(std::string_view attributeName) const;
    // Whether the class attribute holds the word.
    bool hasClass(std::string_view word) const;
    // Every element below this one (depth first, document order) for which `match` holds.
    std::vector<const XmlElement*> findAll(
        const std::function<bool(const XmlElement&)>& match) const;
    // The direct children of that name.
    std::vector<const XmlElement*> childrenNamed(std::string_view childName) const;
};

struct XmlParse {
    std::optional<XmlElement> root;
    std::string error;  // with the byte offset; empty when well-formed
};

XmlParse parseXml(std::string_view document);

}  // namespace plottest
