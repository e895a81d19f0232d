#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

#include "Portable.h"
#include "TempDir.h"
#include "core/base/FileWriter.h"
#include "core/base/InputFile.h"
#include "core/platform/Files.h"
#include "core/platform/System.h"

namespace belvaron {
namespace {

using platform::FileKind;

// Names beyond ASCII are handed to the file system as UTF-8 and come back
// unchanged: created, found in the folder, replaced, read and removed.
TEST(PlatformFiles, Utf8NamesRoundTrip) {
    for (const std::string name : {"Jänner 2025.txt", "Straße ß €.txt", "Ünïcödé 日本.txt"}) {
        SCOPED_TRACE(name);
        test::TempDir dir;
        const std::string path = platform::JoinPath(dir.path(), name);
        ASSERT_TRUE(WriteFileReplacing(path, "alt"));
        EXPECT_EQ(platform::KindOf(path, false), FileKind::Regular);
        std::set<std::string> names;
        platform::ForEachName(dir.path(), [&](const std::string& n) { names.insert(n); });
        EXPECT_EQ(names, std::set<std::string>{name});

        ASSERT_TRUE(WriteFileReplacing(path, "neu"));
        EXPECT_EQ(ReadInputFile(path, 100).bytes, "neu");
        std::FILE* f = platform::OpenFile(path, "rb");
        ASSERT_NE(f, nullptr);
        std::fclose(f);

        EXPECT_TRUE(platform::RemoveFile(path));
        EXPECT_EQ(platform::KindOf(path, false), FileKind::Missing);
        EXPECT_FALSE(platform::RemoveFile(path));
    }
}

TEST(PlatformFiles, MoveReplacesAnExistingFile) {
    test::TempDir dir;
    const std::string from = dir.Write("neu", "neu");
    const std::string to = dir.Write("Jänner", "alt");
    ASSERT_EQ(platform::MoveReplacing(from.c_str(), to.c_str()), 0);
    EXPECT_EQ(test::ReadFile(to), "neu");
    EXPECT_EQ(platform::KindOf(from, false), FileKind::Missing);
    EXPECT_NE(platform::MoveReplacing(from.c_str(), to.c_str()), 0);
}

TEST(PlatformFiles, UniqueFilesKeepTheirSuffixAndNeverMeet) {
    test::TempDir dir;
    std::set<std::string> names;
    for (int i = 0; i < 20; ++i) {
        std::string pattern = dir.File("setup-XXXXXX.exe");
        std::FILE* f = platform::CreateUniqueFile(pattern, 4);
        ASSERT_NE(f, nullptr);
        std::fclose(f);
        EXPECT_EQ(pattern.size(), dir.File("setup-XXXXXX.exe").size());
        EXPECT_TRUE(pattern.ends_with(".exe")) << pattern;
        EXPECT_EQ(pattern.find("XXXXXX"), std::string::npos);
        names.insert(pattern);
    }
    EXPECT_EQ(names.size(), 20u);
    std::string bad = dir.File("no-pattern");
    EXPECT_EQ(platform::CreateUniqueFile(bad, 0), nullptr);
}

TEST(PlatformFiles, KindsOfWhatStandsAtAPath) {
    test::TempDir dir;
    EXPECT_EQ(platform::KindOf(dir.Write("datei", "x"), true), FileKind::Regular);
    EXPECT_EQ(platform::KindOf(dir.path(), true), FileKind::Folder);
    EXPECT_EQ(platform::KindOf(dir.File("fehlt"), true), FileKind::Missing);
}

struct SeparatorCase {
    const char* path;
    std::size_t posix;    // LastPathSeparator on a POSIX system
    std::size_t windows;  // the same on Windows, where '\' separates too
};

constexpr std::size_t npos = std::string::npos;

TEST(PlatformPaths, LastSeparator) {
    const SeparatorCase cases[] = {
        {"/daten/journal.txt", 6, 6},
        {"C:\\Daten\\journal.txt", npos, 8},
        {"C:\\Daten/export\\ED0001", 8, 15},
        {"journal.txt", npos, npos},
        {"", npos, npos},
        {"a\\", npos, 1},
    };
    for (const SeparatorCase& c : cases) {
        EXPECT_EQ(platform::LastPathSeparator(c.path), test::kOnWindows ? c.windows : c.posix)
            << c.path;
    }
}

TEST(PlatformPaths, JoinAddsOneSeparator) {
    const std::string sep(1, platform::kPathSeparator);
    EXPECT_EQ(platform::JoinPath("daten", "x.txt"), "daten" + sep + "x.txt");
    EXPECT_EQ(platform::JoinPath("daten/", "x.txt"), "daten/x.txt");
    EXPECT_EQ(platform::JoinPath("", "x.txt"), "x.txt");
    EXPECT_EQ(platform::JoinPath("daten", ""), "daten" + sep);  // a folder ending with one
    EXPECT_EQ(platform::JoinPath("daten/", ""), "daten/");
    EXPECT_EQ(platform::JoinPath("", ""), "");
    EXPECT_EQ(platform::IsPathSeparator('\\'), test::kOnWindows);
    EXPECT_TRUE(platform::IsPathSeparator('/'));
}

TEST(PlatformSystem, ExecutableFolderHoldsThisProgram) {
    const std::string folder = platform::ExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), platform::kPathSeparator);
    const std::string exe = folder + (test::kOnWindows ? "test_platform.exe" : "test_platform");
    EXPECT_EQ(platform::KindOf(exe, true), FileKind::Regular);
}

TEST(PlatformSystem, DocumentsFolderIsAnAbsolutePath) {
#ifdef _WIN32
    // The shell's known folder, never HOME.
    const auto documents = platform::DocumentsFolder();
    ASSERT_TRUE(documents.has_value());
    ASSERT_GE(documents->size(), 3u);
    EXPECT_TRUE((*documents)[1] == ':' || documents->starts_with("\\\\")) << *documents;
    EXPECT_FALSE(platform::IsPathSeparator(documents->back()));
#else
    test::TempDir home;
    const std::string saved = platform::Environment("HOME").value_or("");
    test::SetEnv("HOME", home.path().c_str());
    test::SetEnv("XDG_CONFIG_HOME", nullptr);
    EXPECT_EQ(platform::DocumentsFolder(), home.path() + "/Documents");
    test::SetEnv("HOME", saved.c_str());
#endif
}

TEST(PlatformSystem, EnvironmentTreatsEmptyAsUnset) {
    test::SetEnv("BELVARON_PLATFORM_TEST", "Jänner");
    EXPECT_EQ(platform::Environment("BELVARON_PLATFORM_TEST"), "Jänner");
    test::SetEnv("BELVARON_PLATFORM_TEST", "");
    EXPECT_EQ(platform::Environment("BELVARON_PLATFORM_TEST"), std::nullopt);
    test::SetEnv("BELVARON_PLATFORM_TEST", nullptr);
}

// The Windows test program carries the same version resource as
// belvaron-cli.exe; elsewhere there is none.
TEST(PlatformSystem, VersionResourceIsReadBack) {
    const auto version = platform::ProgramVersionString("FileVersion", 0x040904B0);
    if (test::kOnWindows) {
        EXPECT_EQ(version, BELVARON_VERSION);
        EXPECT_EQ(platform::ProgramVersionString("ProductName", 0x040904B0), "Belvaron");
        EXPECT_EQ(platform::ProgramVersionString("FileVersion", 0x04070000), std::nullopt);
    } else {
        EXPECT_EQ(version, std::nullopt);
    }
}

TEST(PlatformSystem, CalendarTimeInUtc) {
    platform::CalendarTime t;
    ASSERT_TRUE(platform::ToCalendarTime(1700000000, true, t));
    EXPECT_EQ(t.year, 2023);
    EXPECT_EQ(t.month, 11);
    EXPECT_EQ(t.day, 14);
    EXPECT_EQ(t.hour, 22);
    EXPECT_EQ(t.minute, 13);
    EXPECT_EQ(t.second, 20);
}

}  // namespace
}  // namespace belvaron
