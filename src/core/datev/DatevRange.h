#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace belvaron {

class BookingStore;

// The export range: two dates as DD.MM.YYYY texts, both ends included. A
// text holds at most 10 characters (what the dialog accepts).
struct DatevRange {
    std::string from;
    std::string to;
};

// The earliest and latest booking date of the store (the first booking found
// on ties); nullopt for an empty store.
std::optional<DatevRange> BookingDateRange(const BookingStore& store);

// A date as the range keeps it: the first 10 characters of `text`, rewritten
// to DD.MM.YYYY when they are a date with two dots ("1.2.05" ->
// "01.02.2005"), else as they stand.
std::string NormalizedRangeDate(std::string_view text);

}  // namespace belvaron
