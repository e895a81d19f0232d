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

template <std::size_t N>
int32_t DateKey(const char (&field)[N]) {
    return DateKey(std::string_view(field, N));
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
