#include <gtest/gtest.h>

#include "core/update/UpdateInfo.h"

namespace belvaron {
namespace {

struct InfoCase {
    const char* name;
    std::string text;
    std::string serverVersion;
    std::string history;
};
void PrintTo(const InfoCase& c, std::ostream* os) { *os << c.name; }

class ParseUpdateInfoTest : public testing::TestWithParam<InfoCase> {};

TEST_P(ParseUpdateInfoTest, TakesVersionAndHistorySlice) {
    const auto info = ParseUpdateInfo(GetParam().text, "Belvaron", "V2.3");
    ASSERT_TRUE(info);
    EXPECT_EQ(info->serverVersion, GetParam().serverVersion);
    EXPECT_EQ(info->history, GetParam().history);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ParseUpdateInfoTest,
    testing::Values(
        // The slice starts and ends nine characters before each entry's product name.
        InfoCase{"Newer",
                 "Belvaron: Kopf\nProgrammhistory\nVersion: Belvaron V2.4: neu\n- a\nVersion: "
                 "Belvaron V2.3: alt\n- b\n",
                 "V2.4", "Version: Belvaron V2.4: neu\r\n- a\r\n"},
        InfoCase{"BlanksAroundTheVersion",
                 "Programmhistory\n123456789Belvaron \t V2.4  : x\n123456789Belvaron V2.3:", "V2.4",
                 "123456789Belvaron \t V2.4  : x\r\n"},
        // Not listed: up to nine characters before the end of the text.
        InfoCase{"InstalledNotListed",
                 "Programmhistory\nVersion: Belvaron V2.5: x\nVersion: Belvaron 2.3: y\nend-12345",
                 "V2.5", "Version: Belvaron V2.5: x\r\nVersion: Belvaron 2.3: y\r\n"},
        // The installed entry is looked for only after the newest entry's ":".
        InfoCase{"SameAsInstalled", "Programmhistory\nVersion: Belvaron V2.3: x\n- z\n", "V2.3",
                 "Version: Belvaron V2."},
        InfoCase{"CrLfLines",
                 "Programmhistory\r\nVersion: Belvaron V2.4:\r\n- a\r\nVersion: Belvaron V2.3:",
                 "V2.4", "Version: Belvaron V2.4:\r\r\n- a\r\r\n"},
        InfoCase{"EmptyVersion", "Programmhistory\nVersion: Belvaron: x\n", "", "Version: Bel"}),
    [](const testing::TestParamInfo<InfoCase>& i) { return std::string(i.param.name); });

// A start before the beginning counts as the beginning; the length stays e - p.
TEST(ParseUpdateInfo, SliceStartingBeforeTheTextBeginsAtTheText) {
    const auto info =
        ParseUpdateInfo("Programmhistory V9: x\nProgrammhistory V2.3: y", "history", "V2.3");
    ASSERT_TRUE(info);
    EXPECT_EQ(info->serverVersion, "V9");
    EXPECT_EQ(info->history, "Programmhistory V9: x\r\n");
}

TEST(ParseUpdateInfo, NeedsHistoryWordProductAndColonInThatOrder) {
    EXPECT_FALSE(ParseUpdateInfo("Belvaron V2.4: x\n", "Belvaron", "V2.3"));
    EXPECT_FALSE(ParseUpdateInfo("Belvaron V2.4:\nProgrammhistory\nnichts\n", "Belvaron", "V2.3"));
    EXPECT_FALSE(
        ParseUpdateInfo("Programmhistory\nBelvaron V2.4 ohne Doppelpunkt\n", "Belvaron", "V2.3"));
    EXPECT_FALSE(ParseUpdateInfo("programmhistory\nBelvaron V2.4:\n", "Belvaron", "V2.3"));
    EXPECT_FALSE(
        ParseUpdateInfo("<html><body><h1>404 Not Found</h1></body></html>\n", "Belvaron", "V2.3"));
    EXPECT_TRUE(ParseUpdateInfo("Programmhistory Belvaron:", "Belvaron", "V2.3"));
}

struct DigestCase {
    const char* name;
    const char* text;
    InstallerDigest::State state;
};

void PrintTo(const DigestCase& c, std::ostream* os) { *os << c.name; }

constexpr const char* kAbcHex = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";

const DigestCase kDigestCases[] = {
    {"None", "Programmhistory\r\n", InstallerDigest::State::Absent},
    {"Given",
     "SHA256 (setup.exe) = ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad\r\n",
     InstallerDigest::State::Given},
    {"GivenUpperCaseAmidText",
     "Programmhistory\n  SHA256 (setup.exe) = "
     "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD  \nmore",
     InstallerDigest::State::Given},
    {"OtherFileIgnored",
     "SHA256 (other.exe) = ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad\n",
     InstallerDigest::State::Absent},
    {"TooShort", "SHA256 (setup.exe) = ba7816bf\n", InstallerDigest::State::Malformed},
    {"NotHex",
     "SHA256 (setup.exe) = zz7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad\n",
     InstallerDigest::State::Malformed},
};

class InstallerDigests : public ::testing::TestWithParam<DigestCase> {};

TEST_P(InstallerDigests, AreFoundOnlyForTheInstallersName) {
    const DigestCase& c = GetParam();
    const InstallerDigest d = FindInstallerDigest(c.text, "setup.exe");
    EXPECT_EQ(d.state, c.state);
    if (d.state == InstallerDigest::State::Given) {
        EXPECT_EQ(DigestHex(d.digest), kAbcHex);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, InstallerDigests, ::testing::ValuesIn(kDigestCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace belvaron
