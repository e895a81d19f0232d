#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string_view>

namespace belvaron {

// Fixed-width text fields hold at most N bytes: a shorter text ends with a
// zero byte, a text that fills the field has none. Every reader goes through
// FieldText, which never reads past the field.
template <std::size_t N>
std::string_view FieldText(const char (&field)[N]) {
    if constexpr (N <= 32) {
        // A short field's end is found sooner by a loop than by a call.
        std::size_t n = 0;
        while (n < N && field[n] != '\0') ++n;
        return std::string_view(field, n);
    } else {
        const void* end = std::memchr(field, '\0', N);
        return std::string_view(field, end ? static_cast<const char*>(end) - field : N);
    }
}

// Stores text into the field: at most N bytes; the rest of the field is
// zero-filled, so a shorter text is terminated and the bytes are defined.
template <std::size_t N>
void SetField(char (&field)[N], std::string_view text) {
    const std::size_t n = std::min(N, text.size());
    if (n > 0) std::memcpy(field, text.data(), n);  // an empty view may hold no pointer
    std::memset(field + n, 0, N - n);
}

}  // namespace belvaron
