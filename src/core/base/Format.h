#pragma once

#include <cstdarg>
#include <string>

namespace belvaron {

// printf-style formatting into a std::string, for the fixed message and
// record formats. The format is a literal or a constexpr catalogue constant
// (msg::kE112 ...), which the printf format attribute lets GCC check against
// the arguments: a wrong argument type is a -Wformat error under -Werror.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The same with the arguments as a va_list, for formatting functions of
// their own (which carry the attribute themselves).
std::string FormatV(const char* format, va_list args) __attribute__((format(printf, 1, 0)));

}  // namespace belvaron
