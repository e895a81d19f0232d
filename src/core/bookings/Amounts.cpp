#include "core/bookings/Amounts.h"

#include <cstdlib>

#include "core/base/Text.h"

namespace belvaron {

std::optional<int64_t> AmountCents(std::string_view text) {
    text = Trim(text, kSpace);
    const bool negative = !text.empty() && text.front() == '-';
    if (negative) text.remove_prefix(1);
    const std::size_t comma = text.find(',');
    const std::string_view whole = text.substr(0, comma);
    const std::string_view decimals =
        comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    if (whole.empty() || (comma != std::string_view::npos && decimals.empty()) ||
        decimals.size() > 2) {
        return std::nullopt;
    }
    int64_t cents = 0;
    char previous = '.';
    for (const char c : whole) {
        if (c == '.') {
            if (previous == '.') return std::nullopt;  // leading or doubled dot
        } else if (IsDigit(c)) {
            cents = cents * 10 + (c - '0');
            if (cents > kMaxAmountCents) return std::nullopt;
        } else {
            return std::nullopt;
        }
        previous = c;
    }
    if (previous == '.') return std::nullopt;
    for (std::size_t i = 0; i < 2; ++i) {
        const char c = i < decimals.size() ? decimals[i] : '0';
        if (!IsDigit(c)) return std::nullopt;
        cents = cents * 10 + (c - '0');
    }
    if (cents > kMaxAmountCents) return std::nullopt;
    return negative ? -cents : cents;
}

std::string GermanAmount(int64_t cents) {
    // |INT64_MIN| does not fit an int64: work on the unsigned magnitude.
    uint64_t magnitude =
        cents < 0 ? 0 - static_cast<uint64_t>(cents) : static_cast<uint64_t>(cents);
    const int fraction = static_cast<int>(magnitude % 100);
    magnitude /= 100;
    std::string digits = std::to_string(magnitude);
    std::string out;
    if (cents < 0) out += '-';
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += '.';
        out += digits[i];
    }
    out += ',';
    out += static_cast<char>('0' + fraction / 10);
    out += static_cast<char>('0' + fraction % 10);
    return out;
}

}  // namespace belvaron
