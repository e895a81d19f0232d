#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace belvaron {

// Rewrites a date text in place to DD.MM.YYYY: "1.2.05" -> "01.02.2005",
// "3.11.'07" -> "03.11.2007"; a text without two dots, or one already in the
// form, stays as it is. The field holds `width` bytes (at least 11 so that
// the result and its terminator fit); the text is read up to its terminator
// or the field's end.
void NormalizeDate(char* field, std::size_t width);

template <std::size_t N>
void NormalizeDate(char (&field)[N]) {
    static_assert(N >= 11);
    NormalizeDate(field, N);
}

// The sort key of a DD.MM.YYYY text: its characters 7-10, 4-5, 1-2 read as
// the integer YYYYMMDD (leading-integer rule, so a text not in the form
// gives whatever its characters at those places start with, often 0).
int32_t DateKey(std::string_view date);

namespace detail {

// The key of a text whose characters 1-2, 4-5 and 7-10 are digits and whose
// characters 3 and 6 are not its terminator: those eight digits read
// directly (what DateKey gives for them). -1 for any other text.
inline int32_t DigitsKey(std::string_view date) {
    if (date.size() < 10 || date[2] == '\0' || date[5] == '\0') return -1;
    const auto digit = [&date](std::size_t at) {
        return static_cast<uint32_t>(static_cast<unsigned char>(date[at])) - '0';
    };
    const uint32_t d0 = digit(0), d1 = digit(1), m0 = digit(3), m1 = digit(4);
    const uint32_t y0 = digit(6), y1 = digit(7), y2 = digit(8), y3 = digit(9);
    // A byte below '0' wraps to a large value, so "> 9" catches every other
    // byte; the eight tests are joined without branches.
    if ((d0 > 9) | (d1 > 9) | (m0 > 9) | (m1 > 9) | (y0 > 9) | (y1 > 9) | (y2 > 9) | (y3 > 9)) {
        return -1;
    }
    return static_cast<int32_t>(((y0 * 1000 + y1 * 100 + y2 * 10 + y3) * 100 + m0 * 10 + m1) * 100 +
                                d0 * 10 + d1);
}

// DateKey by the leading-integer rule, for a text DigitsKey does not take.
int32_t PositionsKey(std::string_view date);

}  // namespace detail

template <std::size_t N>
int32_t DateKey(const char (&field)[N]) {
    const std::string_view date(field, N);
    if (const int32_t key = detail::DigitsKey(date); key >= 0) return key;
    return detail::PositionsKey(date);
}

// Days of a month (1..12) of a year, leap years counted.
int DaysInMonth(int year, int month);

// A date key YYYYMMDD (DateKey) is a real calendar day of the years 1 to
// 9999: the month 1 to 12, the day within the month's days, 29 February in
// leap years only.
bool IsRealDay(int32_t key);
// A day and month form a real day in every year (29.02. does not).
bool IsRealDayOfAnyYear(int day, int month);

}  // namespace belvaron
