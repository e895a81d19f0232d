#include <gtest/gtest.h>

#include "TempDir.h"
#include "core/base/Profile.h"

namespace belvaron {
namespace {

TEST(Profile, MissingFileAndKeysGiveDefaults) {
    test::TempDir dir;
    Profile p(dir.File("sub/belvaron.ini"));
    EXPECT_EQ(p.GetInt("Settings", "X", -1), -1);
    EXPECT_FALSE(p.GetString("Settings", "UpdateUrl"));
}

TEST(Profile, WritesAndReadsBackKeepingOtherEntries) {
    test::TempDir dir;
    const std::string path = dir.Write(
        "belvaron.ini", "[Other]\nX=5\n\n[Settings]\nUpdateUrl = https://example.invalid/\n");
    Profile p(path);
    EXPECT_EQ(*p.GetString("Settings", "UpdateUrl"), "https://example.invalid/");
    ASSERT_TRUE(p.SetInt("Settings", "X", 120));
    ASSERT_TRUE(p.SetInt("Settings", "Y", -3));
    ASSERT_TRUE(p.SetInt("Settings", "X", 130));
    EXPECT_EQ(p.GetInt("Settings", "X", -1), 130);
    EXPECT_EQ(p.GetInt("Settings", "Y", 0), -3);
    EXPECT_EQ(p.GetInt("Other", "X", 0), 5);
    EXPECT_EQ(*p.GetString("Settings", "UpdateUrl"), "https://example.invalid/");
}

}  // namespace
}  // namespace belvaron
