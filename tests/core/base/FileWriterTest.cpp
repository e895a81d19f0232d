#include "core/base/FileWriter.h"

#include <gtest/gtest.h>
#include <filesystem>

#include "TempDir.h"

namespace belvaron {
namespace {

using test::ReadFile;
using test::TempDir;

TEST(FileWriter, ReplacesTheOldFileOnlyWhenComplete) {
    TempDir dir;
    const std::string path = dir.Write("replace.dat", "old");
    {
        FileWriter w;
        ASSERT_TRUE(w.Open(path));
        ASSERT_TRUE(w.Write("new"));
        EXPECT_EQ(ReadFile(path), "old");  // not yet committed
        w.Abandon();
    }
    EXPECT_EQ(ReadFile(path), "old");
    EXPECT_TRUE(WriteFileReplacing(path, "new"));
    EXPECT_EQ(ReadFile(path), "new");
}

TEST(FileWriter, FinishedFileReplacesTheTargetOnlyOnCommit) {
    TempDir dir;
    const std::string path = dir.Write("EV01", "old");
    {
        FileWriter w;
        ASSERT_TRUE(w.Open(path));
        ASSERT_TRUE(w.Write("new"));
        ASSERT_TRUE(w.Finish());
        EXPECT_EQ(ReadFile(path), "old");
    }  // abandoned
    EXPECT_EQ(ReadFile(path), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    FileWriter w;
    ASSERT_TRUE(w.Open(path));
    ASSERT_TRUE(w.Write("new"));
    ASSERT_TRUE(w.Finish());
    EXPECT_TRUE(w.Commit());
    EXPECT_EQ(ReadFile(path), "new");
}

TEST(FileWriter, MissingFolderFailsAndLeavesNothing) {
    TempDir dir;
    int error = 0;
    EXPECT_FALSE(WriteFileReplacing(dir.File("gone/file.txt"), "x", &error));
    EXPECT_NE(error, 0);
    EXPECT_FALSE(WriteFileReplacing("", "x"));
}

TEST(FileWriter, ReplacesTheFileBehindALinkAndKeepsItsPermissions) {
    TempDir dir;
    const std::string real = dir.File("synced/replace.dat");
    std::filesystem::create_directories(dir.File("synced"));
    dir.Write("synced/replace.dat", "old");
    std::filesystem::permissions(real, std::filesystem::perms(0640));
    const std::string link = dir.File("replace.dat");
    std::filesystem::create_symlink(real, link);
    ASSERT_TRUE(WriteFileReplacing(link, "new"));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(ReadFile(real), "new");
    EXPECT_EQ(std::filesystem::status(real).permissions() & std::filesystem::perms::all,
              std::filesystem::perms(0640));
}

TEST(FileWriter, FolderThatVanishedIsAFailure) {
    TempDir dir;
    const std::string folder = dir.File("export");
    std::filesystem::create_directories(folder);
    FileWriter w;
    ASSERT_TRUE(w.Open(folder + "/EV01"));
    ASSERT_TRUE(w.Write("bytes"));
    std::filesystem::remove_all(folder);
    EXPECT_FALSE(w.Commit());
    EXPECT_NE(w.error(), 0);
}

}  // namespace
}  // namespace belvaron
