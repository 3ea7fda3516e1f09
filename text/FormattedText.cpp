#include "text/FormattedText.h"

#include <cstdio>

#if defined(__MINGW32__) && !__USE_MINGW_ANSI_STDIO
#error "MinGW builds compose text with the C99 printf family (see SDMWEAVER_PRINTF)"
#endif

namespace text {

std::string formatTextV(const char* format, std::va_list arguments) {
    std::va_list measure;
    va_copy(measure, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length <= 0) {
        return {};
    }
    std::string text(static_cast<std::size_t>(length), '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, arguments);
    return text;
}

std::string formatText(const char* format, ...) {
    std::va_list arguments;
    va_start(arguments, format);
    std::string text = formatTextV(format, arguments);
    va_end(arguments);
    return text;
}

}  // namespace text
