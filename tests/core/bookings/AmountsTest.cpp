#include <gtest/gtest.h>

#include <limits>

#include "core/bookings/Amounts.h"

namespace belvaron {
namespace {

struct CentsCase {
    const char* text;
    std::optional<int64_t> cents;
};

class AmountCentsTest : public ::testing::TestWithParam<CentsCase> {};

TEST_P(AmountCentsTest, ReadsGermanAmountsOnly) {
    EXPECT_EQ(AmountCents(GetParam().text), GetParam().cents) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AmountCentsTest,
    ::testing::Values(CentsCase{"1.234,56", 123456}, CentsCase{"-1.234,56", -123456},
                      CentsCase{"  19,00 ", 1900}, CentsCase{"7", 700}, CentsCase{"0,5", 50},
                      CentsCase{"1234,56", 123456}, CentsCase{"-0,01", -1},
                      CentsCase{"9.999.999.999,99", 999999999999},
                      CentsCase{"10.000.000.000,00", std::nullopt}, CentsCase{"", std::nullopt},
                      CentsCase{"-", std::nullopt}, CentsCase{"84,3O", std::nullopt},
                      CentsCase{"1,234", std::nullopt}, CentsCase{"1,", std::nullopt},
                      CentsCase{",50", std::nullopt}, CentsCase{"--5", std::nullopt},
                      CentsCase{"1..000,00", std::nullopt}, CentsCase{".100,00", std::nullopt},
                      CentsCase{"100.,00", std::nullopt}, CentsCase{"1,2,3", std::nullopt},
                      CentsCase{"1 000,00", std::nullopt}, CentsCase{"12.34.56,00", 12345600}));

TEST(GermanAmount, ThousandsDotsAndTwoDecimals) {
    const std::pair<int64_t, const char*> cases[] = {
        {0, "0,00"},
        {5, "0,05"},
        {-123456, "-1.234,56"},
        {100000, "1.000,00"},
        {99999, "999,99"},
        {-99999999999999, "-999.999.999.999,99"},
        {std::numeric_limits<int64_t>::min(), "-92.233.720.368.547.758,08"},
    };
    for (const auto& [cents, text] : cases) EXPECT_EQ(GermanAmount(cents), text) << cents;
}

TEST(GermanAmount, RoundTripsThroughAmountCents) {
    for (const int64_t cents : {int64_t{1}, int64_t{-100}, int64_t{123456789}, kMaxAmountCents}) {
        EXPECT_EQ(AmountCents(GermanAmount(cents)), cents);
    }
}

}  // namespace
}  // namespace belvaron
