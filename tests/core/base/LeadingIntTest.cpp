#include <gtest/gtest.h>

#include "core/base/LeadingInt.h"

namespace belvaron {
namespace {

struct Case {
    const char* text;
    int32_t value;
};

class LeadingIntTest : public ::testing::TestWithParam<Case> {};

TEST_P(LeadingIntTest, ReadsTheLeadingInteger) {
    EXPECT_EQ(LeadingInt(std::string_view(GetParam().text)), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LeadingIntTest,
    ::testing::Values(Case{"1200 Bank", 1200}, Case{"  \t\r\n-17x", -17}, Case{"+5", 5},
                      Case{"Bank", 0}, Case{"", 0}, Case{"- 5", 0}, Case{"0,50", 0},
                      Case{"12a", 12}, Case{"123456789", 123456789}, Case{"2147483647", 2147483647},
                      Case{"2147483648x", 2147483647}, Case{"99999999999", 2147483647},
                      Case{"-99999999999", -2147483647 - 1}));

TEST(LeadingIntField, StopsAtTheFieldWidth) {
    const char field[4] = {'1', '2', '3', '4'};  // full field, no terminator
    EXPECT_EQ(LeadingInt(field), 1234);
}

}  // namespace
}  // namespace belvaron
