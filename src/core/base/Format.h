#pragma once

#include <cstdarg>
#include <string>

namespace belvaron {

// printf-style formatting into a std::string, for the fixed message and
// record formats. The format is a literal or a constexpr catalogue constant
// (msg::kE112 ...), which the printf format attribute lets GCC check against
// the arguments: a wrong argument type is a -Wformat error under -Werror.
#ifdef __MINGW32__
// MinGW checks "printf" against the Microsoft runtime's formats; the
// formats here are the C99 ones (stdio of MinGW's own, see CMakeLists.txt).
#define BELVARON_PRINTF gnu_printf
#else
#define BELVARON_PRINTF printf
#endif

std::string Format(const char* format, ...) __attribute__((format(BELVARON_PRINTF, 1, 2)));

// The same with the arguments as a va_list, for formatting functions of
// their own (which carry the attribute themselves).
std::string FormatV(const char* format, va_list args)
    __attribute__((format(BELVARON_PRINTF, 1, 0)));

}  // namespace belvaron
