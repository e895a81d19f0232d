#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempDir.h"
#include "core/bookings/JournalReader.h"

namespace belvaron {
namespace {

// Reads a file as lines: each ReadUntil('\n') up to 1 MB, then its line break.
std::vector<std::string> Lines(const std::string& bytes) {
    test::TempDir dir;
    JournalReader in;
    EXPECT_TRUE(in.Open(dir.Write("f.txt", bytes)));
    std::vector<std::string> lines;
    std::string cell(1 << 20, '\0');
    while (!in.AtEnd()) {
        const std::size_t n = in.ReadUntil('\n', cell.data(), cell.size() - 1);
        lines.emplace_back(cell.data(), n);
        in.SkipIf('\n');
    }
    return lines;
}

struct Case {
    const char* name;
    std::string bytes;
    std::vector<std::string> lines;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class JournalReaderTest : public ::testing::TestWithParam<Case> {};

TEST_P(JournalReaderTest, ReadsTextMode) { EXPECT_EQ(Lines(GetParam().bytes), GetParam().lines); }

const std::string kChunk(64 * 1024 - 1, 'a');

INSTANTIATE_TEST_SUITE_P(
    Cases, JournalReaderTest,
    ::testing::Values(Case{"crlf_and_lf", "a\r\nb\nc", {"a", "b", "c"}},
                      // After the last line break one more (empty) read reaches the end.
                      Case{"final_line_break", "a\r\n", {"a", ""}},
                      Case{"lone_cr_stays", "a\rb\r", {"a\rb\r"}},
                      Case{"crlf_across_chunks", kChunk + "\r\nb", {kChunk, "b"}},
                      Case{"cr_at_chunk_end_without_lf", kChunk + "\rb", {kChunk + "\rb"}},
                      Case{"empty", "", {""}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(JournalReader, MissingFileDoesNotOpen) {
    JournalReader in;
    EXPECT_FALSE(in.Open("/nonexistent/journal.txt"));
}

// A folder, a FIFO or a device is never read as a journal.
TEST(JournalReader, DirectoryFailsOnOpen) {
    test::TempDir dir;
    JournalReader in;
    EXPECT_FALSE(in.Open(dir.path()));
    EXPECT_EQ(in.input().status(), InputStatus::NotRegular);
    EXPECT_FALSE(in.Open("/dev/zero"));
}

TEST(JournalReader, ReportsZeroBytes) {
    test::TempDir dir;
    JournalReader in;
    ASSERT_TRUE(in.Open(dir.Write("f", std::string("ab\0c", 4))));
    char cell[8];
    in.ReadUntil('\t', cell, 2);
    EXPECT_FALSE(in.SawZeroByte());
    in.ReadUntil('\t', cell, 7);
    EXPECT_TRUE(in.SawZeroByte());
}

}  // namespace
}  // namespace belvaron
