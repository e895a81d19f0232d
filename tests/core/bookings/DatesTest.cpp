#include <gtest/gtest.h>

#include <string>

#include "core/base/FixedText.h"
#include "core/base/Format.h"
#include "core/bookings/Dates.h"

namespace belvaron {
namespace {

using namespace std::literals;

struct DateCase {
    const char* in;
    const char* out;
};

class NormalizeDateTest : public ::testing::TestWithParam<DateCase> {};

TEST_P(NormalizeDateTest, RewritesToDayMonthYear) {
    char field[20];
    SetField(field, GetParam().in);
    NormalizeDate(field);
    EXPECT_EQ(FieldText(field), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NormalizeDateTest,
    ::testing::Values(DateCase{"1.2.2005", "01.02.2005"}, DateCase{"3.11.98", "03.11.1998"},
                      DateCase{"3.11.'07", "03.11.2007"}, DateCase{"07.05.2006", "07.05.2006"},
                      DateCase{"2005-02-01", "2005-02-01"}, DateCase{"1.2.05", "01.02.2005"},
                      DateCase{"1.2.49", "01.02.2049"}, DateCase{"1.2.50", "01.02.1950"},
                      DateCase{"01.02.2005", "01.02.2005"}, DateCase{"1.2", "1.2"},
                      DateCase{"", ""}, DateCase{"123.4.2005", "123.04.200"},
                      DateCase{"x.y.z", "00.00.2000"}));

TEST(NormalizeDate, FullFieldWithoutTerminatorIsReadOnlyToItsWidth) {
    char field[11];
    std::memset(field, '9', sizeof field);
    field[1] = '.';
    field[3] = '.';  // "9.9.9999999" fills all eleven bytes
    NormalizeDate(field);
    EXPECT_EQ(FieldText(field), "09.09.9999");
}

struct KeyCase {
    std::string_view date;
    int32_t key;
};

// The direct reading of DD.MM.YYYY that DateKey takes first: every digit
// value at every place, and texts it must leave to the general rule.
TEST(DateKeyDigits, ReadsEveryDigitAndRefusesOtherTexts) {
    EXPECT_EQ(detail::DigitsKey("05.08.2025"), 20250805);
    EXPECT_EQ(detail::DigitsKey("29.12.1999"), 19991229);
    EXPECT_EQ(detail::DigitsKey("31.07.6843"), 68430731);
    EXPECT_EQ(detail::DigitsKey("05.03.20a5"), -1);
    EXPECT_EQ(detail::DigitsKey("05.03.20:5"), -1);
    EXPECT_EQ(detail::DigitsKey("0/.03.2005"), -1);
    EXPECT_EQ(detail::DigitsKey("05.03.205"), -1);
    EXPECT_EQ(detail::DigitsKey("05\0"
                                "03.2005"sv),
              -1);
}

class DateKeyTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(DateKeyTest, YearMonthDay) {
    EXPECT_EQ(DateKey(std::string_view(GetParam().date)), GetParam().key);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DateKeyTest,
    ::testing::Values(KeyCase{"05.03.2005", 20050305}, KeyCase{"31.12.1999", 19991231},
                      KeyCase{"", 0}, KeyCase{"2005-02-01", 2}, KeyCase{"1.2.2005", 5},
                      // a whole field: the text ends at its terminator
                      KeyCase{"05.03.2005\0\0\0\0\0\0\0\0\0"sv, 20050305},
                      KeyCase{"05.03.2005 x"sv, 20050305},
                      KeyCase{"05\0"
                              "03.2005"sv,
                              0},
                      KeyCase{"05.03\0"
                              "2005"sv,
                              0},
                      KeyCase{"05.03.20a5"sv, 20}, KeyCase{"05.-3.2005"sv, 2005},
                      // the bytes next to the digits, and a high byte
                      KeyCase{"0/.03.2005"sv, 2005030}, KeyCase{"05.03.20:5"sv, 20},
                      KeyCase{"\xB9"
                              "5.03.2005"sv,
                              200503}));

// Every DD.MM.YYYY text is read directly, whatever its digits.
TEST(DateKey, EveryDigitOfTheFormIsReadDirectly) {
    for (int d = 0; d < 100; ++d) {
        const std::string date = Format("%02d.%02d.%04d", d, 99 - d, 1000 + d * 89);
        EXPECT_EQ(detail::DigitsKey(date), ((1000 + d * 89) * 100 + 99 - d) * 100 + d) << date;
    }
}

struct DayCase {
    int32_t key;
    bool real;
};

class RealDayTest : public ::testing::TestWithParam<DayCase> {};

TEST_P(RealDayTest, OnlyDaysOfTheCalendar) {
    EXPECT_EQ(IsRealDay(GetParam().key), GetParam().real) << GetParam().key;
}

INSTANTIATE_TEST_SUITE_P(Cases, RealDayTest,
                         ::testing::Values(DayCase{20240229, true}, DayCase{20230229, false},
                                           DayCase{19000229, false}, DayCase{20000229, true},
                                           DayCase{20240430, true}, DayCase{20240431, false},
                                           DayCase{20241231, true}, DayCase{20241232, false},
                                           DayCase{20240001, false}, DayCase{20241301, false},
                                           DayCase{20240100, false}, DayCase{101, false},
                                           DayCase{99991231, true}, DayCase{100000101, false},
                                           DayCase{0, false}, DayCase{-20240101, false}));

TEST(RealDayOfAnyYear, LeavesOutTheLeapDay) {
    EXPECT_TRUE(IsRealDayOfAnyYear(28, 2));
    EXPECT_FALSE(IsRealDayOfAnyYear(29, 2));
    EXPECT_FALSE(IsRealDayOfAnyYear(31, 4));
    EXPECT_TRUE(IsRealDayOfAnyYear(31, 12));
    EXPECT_FALSE(IsRealDayOfAnyYear(1, 13));
    EXPECT_FALSE(IsRealDayOfAnyYear(0, 1));
}

}  // namespace
}  // namespace belvaron
