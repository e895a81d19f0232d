#pragma once

#include <cstdint>
#include <string_view>

namespace belvaron {

namespace detail {
int32_t LeadingIntOfAnyText(std::string_view text);
}  // namespace detail

// The leading integer of a text: optional white space (blank, TAB, CR, LF,
// VT, FF), one optional sign, then decimal digits up to the first other
// character; 0 when there are no digits. Values beyond the 32-bit range are
// clamped to it. Reads at most text.size() bytes and stops at a zero byte.
//
// Most texts read in bulk (accounts, rates, booking numbers) are empty or
// start with a few digits: those are read here, inline; nine digits cannot
// leave the range. Any other text goes to the full reader.
inline int32_t LeadingInt(std::string_view text) {
    if (text.empty()) return 0;
    uint32_t value = 0;
    std::size_t i = 0;
    for (const std::size_t limit = text.size() < 9 ? text.size() : 9; i < limit; ++i) {
        const uint32_t digit = static_cast<uint32_t>(static_cast<unsigned char>(text[i])) - '0';
        if (digit > 9) break;
        value = value * 10 + digit;
    }
    const bool more = i < text.size() && text[i] >= '0' && text[i] <= '9';
    if (i > 0 && !more) return static_cast<int32_t>(value);
    return detail::LeadingIntOfAnyText(text);
}

// The same for a fixed-width field: at most N bytes, up to its terminator.
template <std::size_t N>
int32_t LeadingInt(const char (&field)[N]) {
    return LeadingInt(std::string_view(field, N));
}

}  // namespace belvaron
