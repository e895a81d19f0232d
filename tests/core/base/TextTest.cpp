#include <gtest/gtest.h>

#include <string>

#include "core/base/Text.h"

namespace belvaron {
namespace {

TEST(SplitOff, TakesTheTextBeforeTheSeparator) {
    std::string_view rest = "2.3.150";
    EXPECT_EQ(SplitOff(rest, '.'), "2");
    EXPECT_EQ(rest, "3.150");
    EXPECT_EQ(SplitOff(rest, '.'), "3");
    EXPECT_EQ(SplitOff(rest, '.'), "150");
    EXPECT_EQ(rest, "");
    EXPECT_EQ(SplitOff(rest, '.'), "");
    EXPECT_EQ(rest, "");
    rest = ".x.";
    EXPECT_EQ(SplitOff(rest, '.'), "");
    EXPECT_EQ(rest, "x.");
}

using Lines = std::vector<std::string_view>;

struct LinesCase {
    const char* name;
    std::string_view text;
    Lines lines;
};

class SplitLinesTest : public ::testing::TestWithParam<LinesCase> {};

TEST_P(SplitLinesTest, PartsBetweenLineBreaks) {
    EXPECT_EQ(SplitLines(GetParam().text), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(Texts, SplitLinesTest,
                         ::testing::Values(LinesCase{"Empty", "", {}},
                                           LinesCase{"OnlyABreak", "\r\n", {""}},
                                           LinesCase{"CrLf", "a\r\nb\r\n", {"a", "b"}},
                                           LinesCase{"LfAndNoFinalBreak", "a\n\nb", {"a", "", "b"}},
                                           LinesCase{"LoneCrStays", "a\rb\r\nc\r", {"a\rb", "c\r"}},
                                           LinesCase{"OneCrDropped", "a\r\r\n", {"a\r"}},
                                           LinesCase{"ZeroByteIsText",
                                                     std::string_view("a\0b\n", 4),
                                                     {std::string_view("a\0b", 3)}}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace belvaron
