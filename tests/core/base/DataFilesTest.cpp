#include <gtest/gtest.h>

#include <cstdlib>

#include "FakeUi.h"
#include "Portable.h"
#include "TempDir.h"
#include "core/base/DataFiles.h"
#include "core/base/DataFolders.h"
#include "core/platform/Files.h"

namespace belvaron {
namespace {

using test::FakeUi;
using test::ReadFile;
using test::TempDir;

struct FolderCase {
    const char* path;
    const char* folder;
};

class FolderOfPathTest : public ::testing::TestWithParam<FolderCase> {};

// A bare name stands in the current folder, as the command line's targets do.
TEST_P(FolderOfPathTest, ParentFolderOrTheCurrentOne) {
    EXPECT_EQ(FolderOfPath(GetParam().path), GetParam().folder);
}

INSTANTIATE_TEST_SUITE_P(Cases, FolderOfPathTest,
                         ::testing::Values(FolderCase{"/daten/journal.txt", "/daten"},
                                           FolderCase{"/daten/export/ED00001", "/daten/export"},
                                           FolderCase{"ED00001", "."}, FolderCase{"/ED00001", "/"},
                                           FolderCase{"", "."}, FolderCase{"a/b", "a"},
                                           FolderCase{"a/b/", "a/b"}, FolderCase{"./ED00001", "."},
                                           FolderCase{"Jänner 2025/Journal März.txt",
                                                      "Jänner 2025"}));

class DataFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* home = std::getenv("HOME");
        savedHome_ = home ? home : "";
        test::SetEnv("HOME", home_.path().c_str());
        test::SetEnv("XDG_CONFIG_HOME", nullptr);
        folders_.programFolder = program_.path() + "/";
    }
    void TearDown() override { test::SetEnv("HOME", savedHome_.c_str()); }

    TempDir home_;
    TempDir program_;
    FakeUi ui_;
    DataFolders folders_{ui_};
    std::string savedHome_;
};

TEST_F(DataFileTest, FirstUseCopiesTheDefaultAndNeverOverwrites) {
    BELVARON_POSIX_ONLY("the documents folder from HOME (Windows asks the shell)");
    program_.Write("replace.dat", "default");
    const std::string path = folders_.Resolve("replace.dat");
    EXPECT_EQ(path, home_.path() + "/Documents/Belvaron/replace.dat");
    EXPECT_EQ(ReadFile(path), "default");
    std::ofstream(path, std::ios::binary) << "mine";
    EXPECT_EQ(folders_.Resolve("replace.dat"), path);
    EXPECT_EQ(ReadFile(path), "mine");
}

TEST_F(DataFileTest, MissingDefaultGivesAPathThatDoesNotExist) {
    BELVARON_POSIX_ONLY("the documents folder from HOME (Windows asks the shell)");
    const std::string path = folders_.Resolve("angaben_datev.txt");
    EXPECT_FALSE(FileExists(path));
    EXPECT_TRUE(ui_.messages.empty());
}

TEST_F(DataFileTest, EmptyNameIsTheProgramFolder) {
    EXPECT_EQ(folders_.Resolve(""), program_.path() + "/");
    EXPECT_FALSE(DirectoryExists(home_.path() + "/Documents"));
}

TEST_F(DataFileTest, XdgDocumentsDirectoryIsUsed) {
    BELVARON_POSIX_ONLY("the documents folder from HOME (Windows asks the shell)");
    home_.Write(".config", "");
    std::filesystem::remove(home_.File(".config"));
    std::filesystem::create_directories(home_.File(".config"));
    home_.Write(".config/user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n");
    EXPECT_EQ(*UserDataFolder(true), home_.path() + "/Dokumente/Belvaron");
    EXPECT_TRUE(DirectoryExists(home_.path() + "/Dokumente/Belvaron"));
}

TEST_F(DataFileTest, OverrideFolderIsCreatedAndUsed) {
    folders_.dataFolderOverride = home_.File("data/sub");
    EXPECT_EQ(folders_.Resolve("x.txt"), home_.File("data/sub/x.txt"));
    EXPECT_TRUE(DirectoryExists(home_.File("data/sub")));
}

TEST(FolderHelpersTest, MakeDirectoriesCreatesParentsAndFailsOnAFileInTheWay) {
    TempDir dir;
    EXPECT_TRUE(MakeDirectories(dir.File("a/b/c")));
    EXPECT_TRUE(DirectoryExists(dir.File("a/b/c")));
    EXPECT_TRUE(MakeDirectories(dir.File("a/b")));  // already there
    dir.Write("datei", "x");
    EXPECT_FALSE(MakeDirectories(dir.File("datei/sub")));
    EXPECT_FALSE(DirectoryExists(dir.File("datei")));
    EXPECT_FALSE(MakeDirectories(""));
}

TEST(FolderHelpersTest, ExecutableFolderEndsWithASeparatorBesideTheProgram) {
    const std::string folder = ExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), platform::kPathSeparator);
    EXPECT_TRUE(FileExists(folder + (test::kOnWindows ? "test_base.exe" : "test_base")));
}

TEST(FolderHelpersTest, ProgramFolderIsTheSharedFolderWhenItExists) {
    TempDir dir;
    const std::string exe = dir.File("bin") + "/";
    MakeDirectories(exe);
    EXPECT_EQ(ProgramFolderFor(exe), exe);
    MakeDirectories(dir.File("share/belvaron"));
    constexpr char sep = platform::kPathSeparator;
    EXPECT_EQ(ProgramFolderFor(exe), exe + ".." + sep + "share" + sep + "belvaron" + sep);
}

}  // namespace
}  // namespace belvaron
