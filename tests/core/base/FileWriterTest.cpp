#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "Portable.h"
#include "TempDir.h"
#include "core/base/ErrnoText.h"
#include "core/base/FileWriter.h"

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
    BELVARON_POSIX_ONLY("symbolic links and permission bits");
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
    BELVARON_POSIX_ONLY("removing a folder while a file in it is open");
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

// Only a regular file or a new name is replaced; anything else at the
// target stays as it is and the writer fails with kErrorNotRegularFile.
struct TargetCase {
    const char* name;
    std::string (*make)(const TempDir&);  // returns the target path
    bool posixOnly = false;               // needs FIFOs, devices or symbolic links
};

void PrintTo(const TargetCase& c, std::ostream* os) { *os << c.name; }

const TargetCase kRefusedTargets[] = {
    {"Folder",
     [](const TempDir& d) {
         std::filesystem::create_directory(d.File("out"));
         return d.File("out");
     }},
    {"Fifo",
     [](const TempDir& d) {
         test::MakeFifo(d.File("out"));
         return d.File("out");
     },
     true},
    {"DanglingLink",
     [](const TempDir& d) {
         std::filesystem::create_symlink(d.File("nowhere"), d.File("out"));
         return d.File("out");
     },
     true},
    {"LoopingLink",
     [](const TempDir& d) {
         std::filesystem::create_symlink(d.File("out2"), d.File("out"));
         std::filesystem::create_symlink(d.File("out"), d.File("out2"));
         return d.File("out");
     },
     true},
    {"LinkToAFolder",
     [](const TempDir& d) {
         std::filesystem::create_directory(d.File("folder"));
         std::filesystem::create_symlink(d.File("folder"), d.File("out"));
         return d.File("out");
     },
     true},
};

class RefusedTargets : public ::testing::TestWithParam<TargetCase> {};

TEST_P(RefusedTargets, AreNeitherReplacedNorWrittenBeside) {
    if (GetParam().posixOnly) {
        BELVARON_POSIX_ONLY("FIFOs and symbolic links");
    }
    TempDir dir;
    const std::string path = GetParam().make(dir);
    const auto before = std::filesystem::symlink_status(path).type();
    const auto entries = std::distance(std::filesystem::directory_iterator(dir.path()), {});
    int error = 0;
    EXPECT_FALSE(WriteFileReplacing(path, "new", &error));
    EXPECT_EQ(error, kErrorNotRegularFile);
    EXPECT_EQ(std::filesystem::symlink_status(path).type(), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), entries);
}

INSTANTIATE_TEST_SUITE_P(Table, RefusedTargets, ::testing::ValuesIn(kRefusedTargets),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FileWriter, ReadOnlyFileIsReportedNotRewritten) {
    TempDir dir;
    const std::string path = dir.Write("replace.dat", "1200 1210\r\n");
    std::filesystem::permissions(path, std::filesystem::perms(0444));
    int error = 0;
    EXPECT_FALSE(WriteFileReplacing(path, "new", &error));
    EXPECT_EQ(error, EACCES);
    EXPECT_EQ(ReadFile(path), "1200 1210\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(FileWriter, DeviceIsRefused) {
    BELVARON_POSIX_ONLY("device files");
    int error = 0;
    EXPECT_FALSE(WriteFileReplacing("/dev/null", "x", &error));
    EXPECT_EQ(error, kErrorNotRegularFile);
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
}

TEST(FileWriter, NextWriteRemovesNewFilesThatAKilledRunLeft) {
    TempDir dir;
    const std::string path = dir.Write("ED00001", "old");
    dir.Write("ED00001.new-a1B2c3", "left by a killed run");
    dir.Write("ED00001.new-extra77", "x");  // not a name of this writer: 7 characters
    dir.Write("EV01.new-a1B2c3", "other target");
    ASSERT_TRUE(WriteFileReplacing(path, "new"));
    EXPECT_FALSE(std::filesystem::exists(dir.File("ED00001.new-a1B2c3")));
    EXPECT_TRUE(std::filesystem::exists(dir.File("ED00001.new-extra77")));
    EXPECT_TRUE(std::filesystem::exists(dir.File("EV01.new-a1B2c3")));
    EXPECT_EQ(ReadFile(path), "new");
}

TEST(FileWriter, NewFileOfARunningWriterIsKept) {
    TempDir dir;
    const std::string path = dir.File("EV01");
    FileWriter first;
    ASSERT_TRUE(first.Open(path));
    ASSERT_TRUE(first.Write("first"));
    ASSERT_TRUE(first.Finish());  // closed but not yet committed: still held
    ASSERT_TRUE(WriteFileReplacing(path, "second"));
    EXPECT_TRUE(first.Commit());
    EXPECT_EQ(ReadFile(path), "first");
}

}  // namespace
}  // namespace belvaron
