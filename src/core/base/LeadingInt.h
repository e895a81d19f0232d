#pragma once

#include <cstdint>
#include <string_view>

namespace belvaron {

// The leading integer of a text: optional white space (blank, TAB, CR, LF,
// VT, FF), one optional sign, then decimal digits up to the first other
// character; 0 when there are no digits. Values beyond the 32-bit range are
// clamped to it. Reads at most text.size() bytes and stops at a zero byte.
int32_t LeadingInt(std::string_view text);

// The same for a fixed-width field: at most N bytes, up to its terminator.
template <std::size_t N>
int32_t LeadingInt(const char (&field)[N]) {
    return LeadingInt(std::string_view(field, N));
}

}  // namespace belvaron
