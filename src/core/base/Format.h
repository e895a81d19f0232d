#pragma once

#include <cstdio>
#include <string>

namespace belvaron {

// printf-style formatting into a std::string, for the fixed message and
// record formats. The format must be a literal.
template <typename... Args>
std::string Format(const char* format, Args... args) {
    const int n = std::snprintf(nullptr, 0, format, args...);
    if (n <= 0) return {};
    std::string out(static_cast<std::size_t>(n), '\0');
    std::snprintf(out.data(), out.size() + 1, format, args...);
    return out;
}

}  // namespace belvaron
