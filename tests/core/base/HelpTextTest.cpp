#include <gtest/gtest.h>

#include "TempDir.h"
#include "core/workflow/HelpText.h"

namespace belvaron {
namespace {

using Lines = std::vector<std::string>;

TEST(HelpText, MissingFileGivesNothing) {
    test::TempDir dir;
    EXPECT_FALSE(ReadHelpLines(dir.File("hilfe.txt")));
}

struct HelpCase {
    const char* name;
    std::string bytes;
    Lines expected;
};

class HelpTextLines : public ::testing::TestWithParam<HelpCase> {};

TEST_P(HelpTextLines, OneEntryPerLineInFileOrder) {
    test::TempDir dir;
    const auto lines = ReadHelpLines(dir.Write("hilfe.txt", GetParam().bytes));
    ASSERT_TRUE(lines);
    EXPECT_EQ(*lines, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, HelpTextLines,
    ::testing::Values(
        HelpCase{"Empty", "", {""}}, HelpCase{"TrailingBreak", "b\r\na\r\n", {"b", "a", ""}},
        HelpCase{"NoTrailingBreak", "Zeile 1\r\n\r\nZeile \xe4", {"Zeile 1", "", "Zeile \xe4"}},
        HelpCase{"LongLineContinues",
                 std::string(300, 'x') + "\r\nende",
                 {std::string(254, 'x'), std::string(46, 'x'), "ende"}},
        HelpCase{"ExactlyTheLimit", std::string(254, 'y') + "\n", {std::string(254, 'y'), ""}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace belvaron
