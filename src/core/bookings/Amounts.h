#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace belvaron {

// The largest amount AmountCents reads: 12 significant digits, so that the
// sum of a full store (1,000,000 bookings) still fits an int64.
inline constexpr int64_t kMaxAmountCents = 999'999'999'999;

// A German amount text as the journal and the editor hold it: blanks,
// an optional '-', digits with optional thousands dots between them, and
// an optional ',' followed by one or two decimals, then blanks ("1.234,56",
// "-19,00", "7", "0,5"). The value in cents; nullopt for any other text
// (an empty one, "84,3O", "1,234", a second sign) and for more than
// kMaxAmountCents.
std::optional<int64_t> AmountCents(std::string_view text);

// Cents in the German form with thousands dots and two decimals:
// -123456 -> "-1.234,56", 5 -> "0,05".
std::string GermanAmount(int64_t cents);

}  // namespace belvaron
