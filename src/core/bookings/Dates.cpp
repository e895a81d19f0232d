#include "core/bookings/Dates.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "core/base/LeadingInt.h"
#include "core/base/TracePoint.h"

namespace belvaron {

void NormalizeDate(char* field, std::size_t width) {
    TracePoint = 2006;
    const void* end = std::memchr(field, '\0', width);
    const std::string_view text(field, end ? static_cast<const char*>(end) - field : width);
    if (text.size() == 10 && text[2] == '.' && text[5] == '.') return;
    const auto dot1 = text.find('.');
    if (dot1 == std::string_view::npos) return;
    const auto dot2 = text.find('.', dot1 + 1);
    if (dot2 == std::string_view::npos) return;

    const int day = LeadingInt(text.substr(0, dot1));
    const int month = LeadingInt(text.substr(dot1 + 1, dot2 - dot1 - 1));
    const auto apostrophe = text.find('\'');
    int year = apostrophe != std::string_view::npos ? LeadingInt(text.substr(apostrophe + 1))
                                                    : LeadingInt(text.substr(dot2 + 1));
    if (year < 100) year += (year >= 50 ? 1900 : 2000);

    char result[48];
    std::snprintf(result, sizeof result, "%02d.%02d.%04d", day, month, year);
    result[10] = '\0';  // a wider result is cut to its first ten characters
    const std::size_t n = std::strlen(result);
    std::memcpy(field, result, n);
    std::memset(field + n, 0, width - n);
}

int32_t DateKey(std::string_view date) {
    if (const int32_t key = detail::DigitsKey(date); key >= 0) return key;
    return detail::PositionsKey(date);
}

int32_t detail::PositionsKey(std::string_view date) {
    // Positions 7, 8, 9, 10, 4, 5, 1, 2 (counted from 1); a position past the
    // text's end reads as its terminator and ends the number there.
    static constexpr int kPositions[] = {6, 7, 8, 9, 3, 4, 0, 1};
    const void* end = std::memchr(date.data(), '\0', date.size());
    const std::size_t length = end ? static_cast<const char*>(end) - date.data() : date.size();
    char key[8];
    for (int i = 0; i < 8; ++i) {
        const auto p = static_cast<std::size_t>(kPositions[i]);
        key[i] = p < length ? date[p] : '\0';
    }
    return LeadingInt(std::string_view(key, 8));
}

namespace {

bool IsLeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

}  // namespace

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsRealDay(int32_t key) {
    const int year = key / 10000, month = key / 100 % 100, day = key % 100;
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysInMonth(year, month);
}

bool IsRealDayOfAnyYear(int day, int month) {
    return month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth(1, month);
}

}  // namespace belvaron
