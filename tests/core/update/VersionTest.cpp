#include <gtest/gtest.h>

#include <cctype>

#include "core/update/Version.h"

namespace belvaron {
namespace {

struct VersionCase {
    const char* text;
    int64_t number;
};
void PrintTo(const VersionCase& c, std::ostream* os) { *os << c.text; }

class VersionNumberTest : public testing::TestWithParam<VersionCase> {};

TEST_P(VersionNumberTest, ReadsThreePlaces) {
    EXPECT_EQ(VersionNumber(GetParam().text), GetParam().number) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Versions, VersionNumberTest,
    testing::Values(VersionCase{"V2.3", 20300}, VersionCase{"2.3", 20300},
                    VersionCase{"V2.3.0", 20300}, VersionCase{"V2.2.9", 20209},
                    VersionCase{"V2.4", 20400},
                    VersionCase{"V2.3.150", 20450},  // spills into the second place
                    VersionCase{"V2.3.4.5", 20304},  // a fourth number takes no part
                    VersionCase{"VV3", 30000},
                    VersionCase{"v2.3", 300},  // only upper-case V is dropped
                    VersionCase{" V2.3", 300}, VersionCase{"V 2. 3", 20300}, VersionCase{"", 0},
                    VersionCase{"V2..7", 20007}, VersionCase{"V99999.0", 999990000},
                    VersionCase{"V2147483647.99.99", 21474836479999}),
    [](const testing::TestParamInfo<VersionCase>& i) {
        std::string name = "Text_";
        for (const char ch : std::string(i.param.text))
            name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
        return name;
    });

TEST(FileVersionInfo, TheProgramsOwnFileCarriesTheCompiledInVersion) {
    FileVersionInfo info;
    EXPECT_EQ(info.GetStringValue("FileVersion"), "");
    ASSERT_TRUE(info.LoadFromFile("Belvaron.exe"));
    EXPECT_EQ(info.translation(), 0x040904B0u);
    EXPECT_EQ(info.GetStringValue("FileVersion"), "V2.3");
    EXPECT_EQ(info.GetStringValue("FileVersion", 0x040904B0u), "V2.3");
    EXPECT_EQ(info.GetStringValue("FileVersion", 0x04070000u), "");
    EXPECT_EQ(info.GetStringValue("Comments"), "");
    EXPECT_FALSE(info.LoadFromFile("Other.exe"));
    EXPECT_EQ(info.GetStringValue("FileVersion"), "");
}

}  // namespace
}  // namespace belvaron
