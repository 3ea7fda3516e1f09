#pragma once

// printf-style composition into a text that grows to fit: nothing is ever cut or spilled.

#include <cstdarg>
#include <string>

namespace text {

#if defined(__MINGW32__)
// MinGW's C++ library composes with its own C99 printf family (%zu, %lld, ...), not with the
// Windows runtime's: the formats are checked against that one (FormattedText.cpp insists on it).
#define SDMWEAVER_PRINTF(formatIndex, firstArgument) \
    __attribute__((format(gnu_printf, formatIndex, firstArgument)))
#elif defined(__GNUC__)
#define SDMWEAVER_PRINTF(formatIndex, firstArgument) \
    __attribute__((format(printf, formatIndex, firstArgument)))
#else
#define SDMWEAVER_PRINTF(formatIndex, firstArgument)
#endif

std::string formatText(const char* format, ...) SDMWEAVER_PRINTF(1, 2);
std::string formatTextV(const char* format, std::va_list arguments) SDMWEAVER_PRINTF(1, 0);

}  // namespace text
