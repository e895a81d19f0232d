#include "core/base/StrictInt.h"

#include <limits>

namespace belvaron {

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

StrictInt ReadStrictInt(std::string_view text, int64_t low, int64_t high) {
    StrictInt result;
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const std::size_t digitsStart = i;
    // The magnitude saturates just beyond the 64-bit range, so that any
    // longer number still compares as out of range.
    constexpr uint64_t kCap = uint64_t{std::numeric_limits<int64_t>::max()} + 2;
    uint64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const auto digit = static_cast<uint64_t>(text[i] - '0');
        magnitude = magnitude > (kCap - digit) / 10 ? kCap : magnitude * 10 + digit;
    }
    const std::size_t digitsEnd = i;
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (digitsEnd == digitsStart || i != text.size()) return result;

    constexpr uint64_t kMinMagnitude = uint64_t{std::numeric_limits<int64_t>::max()} + 1;
    result.status = StrictInt::Status::OutOfRange;
    if (magnitude > (negative ? kMinMagnitude : kMinMagnitude - 1)) return result;
    const auto value = static_cast<int64_t>(negative ? 0 - magnitude : magnitude);
    if (value < low || value > high) return result;
    result.status = StrictInt::Status::Ok;
    result.value = value;
    return result;
}

}  // namespace belvaron
