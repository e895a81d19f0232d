#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>

#include "FileSizeLimit.h"
#include "Portable.h"
#include "TempDir.h"
#include "core/base/BlockWriter.h"
#include "core/base/FileWriter.h"
#include "core/platform/Files.h"

namespace belvaron {
namespace {

using test::ReadFile;
using test::TempDir;

constexpr std::size_t kBlock = BlockWriter::kBlockBytes;

// Bytes that differ from place to place, so that a lost, doubled or swapped
// piece shows.
std::string Pattern(std::size_t size, unsigned seed) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<char>((i * 131 + seed * 7 + i / 4096) & 0xFF);
    }
    return bytes;
}

TEST(BlockWriter, PiecesOfEverySizeArriveWholeAndInOrder) {
    TempDir dir;
    const std::string path = dir.File("out.bin");
    std::FILE* file = platform::OpenFile(path, "wb");
    ASSERT_NE(file, nullptr);
    std::string expected;
    {
        BlockWriter writer(file);
        // Below, at and far above the block size, so that pieces are split
        // across blocks and several blocks wait for the thread.
        const std::size_t sizes[] = {1, 4095, kBlock - 1, 2, kBlock, 3 * kBlock + 17, 0, 5};
        unsigned seed = 0;
        for (const std::size_t size : sizes) {
            const std::string piece = Pattern(size, ++seed);
            ASSERT_TRUE(writer.Write(piece));
            expected += piece;
        }
        EXPECT_EQ(writer.Drain(), 0);
    }
    ASSERT_EQ(std::fclose(file), 0);
    EXPECT_TRUE(ReadFile(path) == expected);
}

TEST(BlockWriter, AFailedWriteShowsInLaterWritesAndInTheResult) {
    BELVARON_POSIX_ONLY("file-size limits");
    TempDir dir;
    const std::string path = dir.File("full.bin");
    std::FILE* file = platform::OpenFile(path, "wb");
    ASSERT_NE(file, nullptr);
    {
        const test::FileSizeLimit limit(kBlock + 100);
        BlockWriter writer(file);
        const std::string block = Pattern(kBlock, 1);
        bool refused = false;
        for (int i = 0; i < 50 && !refused; ++i) refused = !writer.Write(block);
        writer.StartFinish();
        EXPECT_EQ(writer.AwaitFinish(), EFBIG);
        EXPECT_EQ(writer.error(), EFBIG);
        EXPECT_FALSE(writer.Write("more"));
    }
    std::fclose(file);
    EXPECT_LE(ReadFile(path).size(), kBlock + 100);
}

TEST(BlockWriter, StopEndsWithBlocksStillWaiting) {
    TempDir dir;
    std::FILE* file = platform::OpenFile(dir.File("stopped.bin"), "wb");
    ASSERT_NE(file, nullptr);
    const std::string block = Pattern(kBlock, 2);
    {
        BlockWriter writer(file);
        for (int i = 0; i < 8; ++i) ASSERT_TRUE(writer.Write(block));
        writer.Stop();
        writer.Stop();  // a second stop, and the destructor's, find nothing to do
    }
    EXPECT_EQ(std::fclose(file), 0);
}

TEST(BlockWriter, FinishFlushesAfterTheLastBlock) {
    TempDir dir;
    const std::string path = dir.File("finished.bin");
    std::FILE* file = platform::OpenFile(path, "wb");
    ASSERT_NE(file, nullptr);
    const std::string bytes = Pattern(2 * kBlock + 3, 3);
    BlockWriter writer(file);
    ASSERT_TRUE(writer.Write(bytes));
    writer.StartFinish();
    EXPECT_EQ(writer.AwaitFinish(), 0);
    // Flushed to the file: readable before the stream is closed.
    EXPECT_TRUE(ReadFile(path) == bytes);
    writer.Stop();
    EXPECT_EQ(std::fclose(file), 0);
}

// A file of many blocks that does not fit on the disk: the failure comes
// from the writer's thread, the old file stays and no new file is left.
TEST(FileWriter, LargeFileOnAFullDiskLeavesTheOldFile) {
    BELVARON_POSIX_ONLY("file-size limits");
    TempDir dir;
    const std::string path = dir.Write("EXTF.csv", "old");
    {
        const test::FileSizeLimit limit(3 * kBlock);
        FileWriter w;
        ASSERT_TRUE(w.Open(path));
        const std::string block = Pattern(kBlock, 4);
        for (int i = 0; i < 8; ++i) w.Write(block);
        w.StartFinish();
        EXPECT_FALSE(w.Commit());
        EXPECT_EQ(w.error(), EFBIG);
    }
    EXPECT_EQ(ReadFile(path), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(FileWriter, AbandonWithBlocksWaitingLeavesTheOldFile) {
    TempDir dir;
    const std::string path = dir.Write("buchhalter.txt", "old");
    {
        FileWriter w;
        ASSERT_TRUE(w.Open(path));
        const std::string block = Pattern(kBlock, 5);
        for (int i = 0; i < 6; ++i) ASSERT_TRUE(w.Write(block));
    }  // abandoned by the destructor
    EXPECT_EQ(ReadFile(path), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

}  // namespace
}  // namespace belvaron
