#include "core/base/Format.h"

#include <cstdio>

namespace belvaron {

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string out = FormatV(format, args);
    va_end(args);
    return out;
}

std::string FormatV(const char* format, va_list args) {
    va_list count;
    va_copy(count, args);
    const int n = std::vsnprintf(nullptr, 0, format, count);
    va_end(count);
    if (n <= 0) return {};
    std::string out(static_cast<std::size_t>(n), '\0');
    std::vsnprintf(out.data(), out.size() + 1, format, args);
    return out;
}

}  // namespace belvaron
