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

struct TrimCase {
    const char* name;
    std::string_view text;
    std::string_view blanks;
    std::string_view trimmed;
};

class TrimTest : public ::testing::TestWithParam<TrimCase> {};

TEST_P(TrimTest, DropsOnlyTheGivenBlanksAtBothEnds) {
    EXPECT_EQ(Trim(GetParam().text, GetParam().blanks), GetParam().trimmed);
}

INSTANTIATE_TEST_SUITE_P(
    Sets, TrimTest,
    ::testing::Values(TrimCase{"SpaceOnly", " \t a b \t ", kSpace, "\t a b \t"},
                      TrimCase{"SpaceTab", " \t a b \t\r", kSpaceTab, "a b \t\r"},
                      TrimCase{"LineBlanks", "\r\n a=b \v\r\n", kLineBlanks, "a=b \v"},
                      TrimCase{"Whitespace", "\f\v a\tb \r\n", kWhitespace, "a\tb"},
                      TrimCase{"AllBlank", " \t ", kSpaceTab, ""},
                      TrimCase{"Empty", "", kWhitespace, ""},
                      TrimCase{"InnerBlanksStay", "a  b", kSpace, "a  b"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LfToCrLf, PutsACrBeforeEveryLf) {
    EXPECT_EQ(LfToCrLf("a\nb\r\n\n"), "a\r\nb\r\r\n\r\n");
    EXPECT_EQ(LfToCrLf("kein Umbruch"), "kein Umbruch");
}

TEST(IsDigit, OnlyTheTenAsciiDigits) {
    for (int c = -128; c < 128; ++c) {
        EXPECT_EQ(IsDigit(static_cast<char>(c)), c >= '0' && c <= '9') << c;
    }
}

}  // namespace
}  // namespace belvaron
