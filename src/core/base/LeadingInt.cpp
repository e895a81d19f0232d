#include "core/base/LeadingInt.h"

#include <limits>

namespace belvaron {

namespace {
bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
}  // namespace

int32_t detail::LeadingIntOfAnyText(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && IsSpace(text[i])) ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int64_t value = 0;
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    while (i < n && text[i] >= '0' && text[i] <= '9') {
        if (value < kLimit) value = value * 10 + (text[i] - '0');
        ++i;
    }
    if (value > kLimit) value = kLimit;
    if (negative) return static_cast<int32_t>(-value);
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value);
}

}  // namespace belvaron
