#include <gtest/gtest.h>

#include <cstdlib>

#include "TempDir.h"
#include "core/base/Profile.h"
#include "core/update/UpdateSettings.h"

namespace belvaron {
namespace {

class UpdateBaseUrlTest : public testing::Test {
protected:
    void SetUp() override { unsetenv("BELVARON_UPDATE_URL"); }
    void TearDown() override { unsetenv("BELVARON_UPDATE_URL"); }
    test::TempDir dir;
};

TEST_F(UpdateBaseUrlTest, DefaultProfileAndEnvironmentInThatOrder) {
    Profile profile(dir.File("belvaron.ini"));
    EXPECT_EQ(UpdateBaseUrl(profile), "https://updates.belvaron.de/");
    ASSERT_TRUE(
        profile.SetString("Settings", "UpdateUrl", "https://mirror.example.invalid/belvaron"));
    EXPECT_EQ(UpdateBaseUrl(profile), "https://mirror.example.invalid/belvaron/");
    setenv("BELVARON_UPDATE_URL", "http://127.0.0.1:8080/", 1);
    EXPECT_EQ(UpdateBaseUrl(profile), "http://127.0.0.1:8080/");
    setenv("BELVARON_UPDATE_URL", "", 1);
    EXPECT_EQ(UpdateBaseUrl(profile), "https://mirror.example.invalid/belvaron/");
    ASSERT_TRUE(profile.SetString("Settings", "UpdateUrl", ""));
    EXPECT_EQ(UpdateBaseUrl(profile), "https://updates.belvaron.de/");
}

}  // namespace
}  // namespace belvaron
