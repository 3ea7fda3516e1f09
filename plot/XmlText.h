#pragma once

// Text made safe for an XML document: markup characters escaped, and bytes that are not UTF-8
// or not allowed in XML replaced, so that names from any file still give a well-formed picture.

#include <string>
#include <string_view>

namespace plot {

// The text for element content or a double-quoted attribute. Valid UTF-8 is kept; a byte that
// starts no valid sequence is taken as Latin-1 (0xA0-0xFF) or replaced by U+FFFD; control
// characters other than tab are replaced by U+FFFD.
std::string xmlText(std::string_view text);

}  // namespace plot
