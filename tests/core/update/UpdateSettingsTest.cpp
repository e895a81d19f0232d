#include <gtest/gtest.h>

#include <cstdlib>

#include "Portable.h"
#include "TempDir.h"
#include "core/base/Profile.h"
#include "core/update/UpdateSettings.h"

namespace belvaron {
namespace {

class UpdateBaseUrlTest : public testing::Test {
protected:
    void SetUp() override { test::SetEnv("BELVARON_UPDATE_URL", nullptr); }
    void TearDown() override { test::SetEnv("BELVARON_UPDATE_URL", nullptr); }
    test::TempDir dir;
};

TEST_F(UpdateBaseUrlTest, DefaultProfileAndEnvironmentInThatOrder) {
    Profile profile(dir.File("belvaron.ini"));
    EXPECT_EQ(UpdateBaseUrl(profile), "https://updates.belvaron.de/");
    ASSERT_TRUE(
        profile.SetString("Settings", "UpdateUrl", "https://mirror.example.invalid/belvaron"));
    EXPECT_EQ(UpdateBaseUrl(profile), "https://mirror.example.invalid/belvaron/");
    test::SetEnv("BELVARON_UPDATE_URL", "http://127.0.0.1:8080/");
    EXPECT_EQ(UpdateBaseUrl(profile), "http://127.0.0.1:8080/");
    test::SetEnv("BELVARON_UPDATE_URL", "");
    EXPECT_EQ(UpdateBaseUrl(profile), "https://mirror.example.invalid/belvaron/");
    ASSERT_TRUE(profile.SetString("Settings", "UpdateUrl", ""));
    EXPECT_EQ(UpdateBaseUrl(profile), "https://updates.belvaron.de/");
}

}  // namespace
}  // namespace belvaron
