#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>

#include "TempDir.h"
#include "core/base/FileSet.h"
#include "core/base/FileWriter.h"
#include "core/platform/Files.h"

namespace belvaron {
namespace {

using test::ReadFile;
using test::TempDir;

// The folder's files and their contents.
std::map<std::string, std::string> Contents(const TempDir& dir) {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
        files[e.path().filename().string()] = ReadFile(e.path().string());
    }
    return files;
}

class FileSetTest : public ::testing::Test {
protected:
    TempDir dir;
    std::vector<std::unique_ptr<FileWriter>> writers;

    // A finished new file for `name` in the set.
    void AddNew(FileSet& set, const std::string& name, const std::string& bytes) {
        AddNewIn(set, dir, name, bytes);
    }
    void AddNewIn(FileSet& set, const TempDir& in, const std::string& name,
                  const std::string& bytes) {
        writers.push_back(std::make_unique<FileWriter>());
        FileWriter& w = *writers.back();
        ASSERT_TRUE(w.Open(in.File(name)));
        ASSERT_TRUE(w.Write(bytes));
        ASSERT_TRUE(w.Finish());
        set.Replace(w);
    }
    // A rename that fails with EIO on its `failAt`-th call (1-based), and
    // on every call from `failFrom` on.
    static FileSet::RenameFunction FailingRename(int failAt, int failFrom = 1 << 30) {
        auto calls = std::make_shared<int>(0);
        return [calls, failAt, failFrom](const char* from, const char* to) {
            ++*calls;
            if (*calls == failAt || *calls >= failFrom) {
                errno = EIO;
                return -1;
            }
            return platform::MoveReplacing(from, to);
        };
    }
};

TEST_F(FileSetTest, ReplacesTheWholeBatchAndRemovesLeftoverParts) {
    dir.Write("ED00001", "old data");
    dir.Write("EV01", "old header");
    dir.Write("part_3.csv", "old third part");
    FileSet set;
    AddNew(set, "ED00001", "new data");
    AddNew(set, "EV01", "new header");
    AddNew(set, "new.csv", "brand new");
    set.Remove(dir.File("part_3.csv"));
    set.Remove(dir.File("part_4.csv"));  // missing: nothing to do
    const FileSetOutcome outcome = set.Commit();
    EXPECT_TRUE(outcome.committed);
    const std::map<std::string, std::string> expected = {
        {"ED00001", "new data"}, {"EV01", "new header"}, {"new.csv", "brand new"}};
    EXPECT_EQ(Contents(dir), expected);
}

// Whichever move fails, the folder ends as it was before: old files back
// under their names, no new file, no leftover.
TEST_F(FileSetTest, AnyFailedMovePutsTheOldBatchBack) {
    // Moves in order: ED00001 aside, new ED00001 in, EV01 aside, new EV01 in,
    // new.csv in, part_3.csv aside.
    for (int failAt = 1; failAt <= 6; ++failAt) {
        SCOPED_TRACE(failAt);
        TempDir folder;
        writers.clear();
        folder.Write("ED00001", "old data");
        folder.Write("EV01", "old header");
        folder.Write("part_3.csv", "old third part");
        const auto before = Contents(folder);
        {
            FileSet set(FailingRename(failAt));
            AddNewIn(set, folder, "ED00001", "new data");
            AddNewIn(set, folder, "EV01", "new header");
            AddNewIn(set, folder, "new.csv", "brand new");
            set.Remove(folder.File("part_3.csv"));
            const FileSetOutcome outcome = set.Commit();
            EXPECT_FALSE(outcome.committed);
            EXPECT_TRUE(outcome.restored);
            EXPECT_EQ(outcome.error, EIO);
        }
        writers.clear();
        EXPECT_EQ(Contents(folder), before);
    }
}

TEST_F(FileSetTest, FailedPuttingBackIsReported) {
    dir.Write("ED00001", "old data");
    dir.Write("EV01", "old header");
    FileSet set(FailingRename(4, 4));  // the new EV01 and every move back fail
    AddNew(set, "ED00001", "new data");
    AddNew(set, "EV01", "new header");
    const FileSetOutcome outcome = set.Commit();
    EXPECT_FALSE(outcome.committed);
    EXPECT_FALSE(outcome.restored);
    EXPECT_EQ(outcome.failedPath, dir.File("EV01"));
}

}  // namespace
}  // namespace belvaron
