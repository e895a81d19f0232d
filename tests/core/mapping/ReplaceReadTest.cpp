#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/mapping/ReplaceList.h"

namespace belvaron {
namespace {

using E = ReplaceEntry;

struct ReadCase {
    const char* name;
    std::string text;
    std::vector<ReplaceEntry> expected;
};

std::ostream& operator<<(std::ostream& os, const ReadCase& c) { return os << c.name; }

class ReplaceRead : public testing::TestWithParam<ReadCase> {};

TEST_P(ReplaceRead, GivesTheEntries) {
    const ReplaceListText list = ReadReplaceList(GetParam().text);
    EXPECT_FALSE(list.tooMany);
    EXPECT_FALSE(list.readError);
    ASSERT_EQ(list.entries.size(), GetParam().expected.size());
    for (std::size_t i = 0; i < list.entries.size(); ++i) {
        const E& a = list.entries[i];
        const E& b = GetParam().expected[i];
        EXPECT_EQ(a, b) << "entry " << i << ": " << a.qbAccount << "," << a.vatRate << ","
                        << a.sollAccount << "," << a.habenAccount << "," << a.datevKey << ","
                        << a.preconditionAccount;
    }
}

const std::string kLongComment(300, 'x');

INSTANTIATE_TEST_SUITE_P(
    Rules, ReplaceRead,
    testing::Values(
        ReadCase{
            "OneLineWithCrLf", "1200, 0, 1800, 1600, 0, 0\r\n", {E{1200, 0, 1800, 1600, 0, 0}}},
        ReadCase{"NoFinalLineBreak", "1200, 0, 1800, 1600, 0, 0", {E{1200, 0, 1800, 1600, 0, 0}}},
        ReadCase{"EmptyFile", "", {}}, ReadCase{"BlankLinesOnly", "\r\n\r\n  \t\r\n", {}},
        ReadCase{"BlankLinesBetweenAndAfter",
                 "1,2,3,4,5,6\r\n\r\n\r\n7,8,9,10,11,12\r\n\r\n  \r\n",
                 {E{1, 2, 3, 4, 5, 6}, E{7, 8, 9, 10, 11, 12}}},
        ReadCase{"CommentAfterSixthNumber",
                 "9401,16, 1405, 3805, 0, 0  (MwSt 16%)\r\n0815, 0, 0815, 0815, 40, 0  (Automatik "
                 "aus)\r\n",
                 {E{9401, 16, 1405, 3805, 0, 0}, E{815, 0, 815, 815, 40, 0}}},
        ReadCase{"CommasInTheCommentBelongToIt",
                 "1,2,3,4,5,6 (a, b, c)\r\n7,8,9,10,11,12",
                 {E{1, 2, 3, 4, 5, 6}, E{7, 8, 9, 10, 11, 12}}},
        ReadCase{"BlanksAndTabsAroundNumbers",
                 "  1200 ,\t19 , 1576,1776\t, 0 ,  0  \r\n",
                 {E{1200, 19, 1576, 1776, 0, 0}}},
        ReadCase{"TextAfterANumberIsIgnored",
                 "1200 Bank, 19%, 1576 VSt, 1776x, 0, 0\r\n",
                 {E{1200, 19, 1576, 1776, 0, 0}}},
        ReadCase{"SignsAndNonNumbers", "-5, +7, abc, , 40, -0\r\n", {E{-5, 7, 0, 0, 40, 0}}},
        ReadCase{"EmptyFields", ",,,,,\r\n", {E{0, 0, 0, 0, 0, 0}}},
        ReadCase{"ShortLineBorrowsFromTheNext",
                 "1200, 0, 1800, 1600,\r\n40, 0\r\n",
                 {E{1200, 0, 1800, 1600, 40, 0}}},
        ReadCase{"ShortLineTakesTheNextLinesNumbers",
                 "1200, 0, 1800\r\n1600, 0, 0\r\n",
                 {E{1200, 0, 1800, 0, 0, 0}}},
        ReadCase{"ShortLastLineGetsZeros",
                 "1,2,3,4,5,6\r\n1200, 7, 1800",
                 {E{1, 2, 3, 4, 5, 6}, E{1200, 7, 1800, 0, 0, 0}}},
        ReadCase{"LoneNumber", "1200", {E{1200, 0, 0, 0, 0, 0}}},
        ReadCase{"CommentOnlyLineMakesTheNextQbAccountZero",
                 "(Umsatzsteuer)\r\n2200, 19, 1576, 1776, 0, 0\r\n",
                 {E{0, 19, 1576, 1776, 0, 0}}},
        ReadCase{"EmptySixthFieldKeepsTheNextEntry",
                 "1,2,3,4,5,\r\n7,8,9,10,11,12\r\n",
                 {E{1, 2, 3, 4, 5, 0}, E{7, 8, 9, 10, 11, 12}}},
        ReadCase{"LfOnlyLineEnds",
                 "1,2,3,4,5,6\n7,8,9,10,11,12\n",
                 {E{1, 2, 3, 4, 5, 6}, E{7, 8, 9, 10, 11, 12}}},
        ReadCase{"LongCommentStaysInItsEntry",
                 "1,2,3,4,5,6 " + kLongComment + "\r\n7,8,9,10,11,12\r\n",
                 {E{1, 2, 3, 4, 5, 6}, E{7, 8, 9, 10, 11, 12}}},
        ReadCase{"LongTextAfterANumberStaysInItsField",
                 "1" + kLongComment + ",2,3,4,5,6\r\n",
                 {E{1, 2, 3, 4, 5, 6}}},
        ReadCase{"ManyBlankLinesBeforeAnEntry",
                 "1,2,3,4,5,6\r\n" + std::string(600, '\n') + "7,8,9,10,11,12",
                 {E{1, 2, 3, 4, 5, 6}, E{7, 8, 9, 10, 11, 12}}},
        ReadCase{"NumbersBeyondTheRangeAreClamped",
                 "99999999999, -99999999999, 1, 1, 1, 1",
                 {E{2147483647, -2147483648, 1, 1, 1, 1}}}),
    [](const testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

std::string Lines(int count, bool finalBreak) {
    std::string text;
    for (int i = 1; i <= count; ++i) {
        text += std::to_string(i) + ", 0, 1, 1, 0, 0";
        if (i < count || finalBreak) text += "\r\n";
    }
    return text;
}

TEST(ReplaceReadLimit, ThousandEntriesAreAcceptedWithOrWithoutFinalBreak) {
    for (bool finalBreak : {true, false}) {
        const ReplaceListText list = ReadReplaceList(Lines(1000, finalBreak) + "\r\n \r\n");
        EXPECT_FALSE(list.tooMany);
        ASSERT_EQ(list.entries.size(), 1000u);
        EXPECT_EQ(list.entries.back().qbAccount, 1000);
    }
}

TEST(ReplaceReadLimit, TheThousandAndFirstEntryIsTooMany) {
    const ReplaceListText list = ReadReplaceList(Lines(1001, false));
    EXPECT_TRUE(list.tooMany);
    EXPECT_EQ(list.entries.size(), 1000u);
}

TEST(ReplaceReadFile, ReadsAFileLikeText) {
    const std::string text = "1,2,3,4,5,6\r\n" + std::string(70000, ' ') + "7,8,9,10,11,12 x\r\n";
    std::FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    std::fwrite(text.data(), 1, text.size(), f);
    std::rewind(f);
    const ReplaceListText list = ReadReplaceList(f);
    std::fclose(f);
    EXPECT_FALSE(list.readError);
    ASSERT_EQ(list.entries.size(), 2u);
    EXPECT_EQ(list.entries[1], (E{7, 8, 9, 10, 11, 12}));
}

}  // namespace
}  // namespace belvaron
