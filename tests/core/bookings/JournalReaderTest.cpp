#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
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
                      Case{"cr_cr_lf", "a\r\r\nb", {"a\r", "b"}},
                      Case{"crlf_runs", "ab\r\ncd\r\n\r\nef", {"ab", "cd", "", "ef"}},
                      Case{"cr_at_file_end_after_chunk", kChunk + "x\r", {kChunk + "x\r"}},
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

// Random text over several buffer chunks, read in random steps: every read
// gives the bytes of the whole file with CR LF taken as LF, and the zero-byte
// flag turns on exactly at the read that takes the first zero byte.
TEST(JournalReader, RandomReadsMatchTheWholeFileInTextMode) {
    std::mt19937 random(15);
    for (int round = 0; round < 6; ++round) {
        const char alphabet[] = {'a', 'b', '\t', '\r', '\n', '\r', '\n', '\0'};
        const std::size_t zeroChance = round % 2 ? 40000 : 0;  // some rounds without zero
        std::string bytes;
        const std::size_t size = 64 * 1024 * 3 + random() % 5000;
        for (std::size_t i = 0; i < size; ++i) {
            char c = alphabet[random() % 7];
            if (zeroChance && random() % zeroChance == 0) c = '\0';
            bytes += c;
        }
        std::string text;  // the reference: CR LF as LF
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
            text += bytes[i];
        }
        const std::size_t firstZero = text.find('\0');
        test::TempDir dir;
        JournalReader in;
        ASSERT_TRUE(in.Open(dir.Write("f", bytes)));
        std::size_t pos = 0;
        char cell[300];
        while (pos < text.size()) {
            const int step = static_cast<int>(random() % 3);
            if (step == 0) {
                const std::size_t max = random() % 299;
                const std::size_t n = in.ReadUntil('\t', cell, max);
                std::size_t want = 0;
                while (want < max && pos + want < text.size() && text[pos + want] != '\t') ++want;
                ASSERT_EQ(std::string(cell, n), text.substr(pos, want)) << "round " << round;
                pos += want;
            } else if (step == 1) {
                in.Skip();
                ++pos;
            } else {
                const bool lf = text[pos] == '\n';
                ASSERT_EQ(in.SkipIf('\n'), lf) << "round " << round;
                if (lf) ++pos;
            }
            ASSERT_EQ(in.SawZeroByte(), firstZero < pos) << "round " << round << " at " << pos;
        }
        EXPECT_FALSE(in.Failed());
    }
}

// The row fast path against the cell-by-cell reads it stands for: two readers
// over one file of rows with short, empty, full (254) and overlong cells,
// line breaks inside cells, CRs and zero bytes across several buffers. Where
// TakeRow takes a row, the other reader reads it cell by cell and both must
// give the same cells, stop at the same byte and agree on the zero flag.
TEST(JournalReader, TakeRowReadsWhatTheCellReadsRead) {
    std::mt19937 random(7);
    for (int round = 0; round < 4; ++round) {
        const int cellCount = 1 + round * 3;
        const std::size_t kMax = 254;
        std::string bytes;
        while (bytes.size() < 64 * 1024 * 3) {
            const std::size_t lengths[] = {0, 1, 5, kMax - 1, kMax, kMax + 1, kMax + 2};
            const std::size_t length = lengths[random() % 7];
            for (std::size_t i = 0; i < length; ++i) {
                const char alphabet[] = "abc\r\n";
                bytes += alphabet[random() % 5];
            }
            if (round % 2 == 1 && random() % 100 == 0) bytes += '\0';
            bytes += random() % 3 ? "\t" : "\r\n";
        }
        test::TempDir dir;
        const std::string path = dir.Write("f", bytes);
        JournalReader fast;
        JournalReader slow;
        ASSERT_TRUE(fast.Open(path));
        ASSERT_TRUE(slow.Open(path));
        std::vector<std::string_view> cells(cellCount);
        char cell[kMax + 1];
        int taken = 0;
        while (!fast.AtEnd()) {
            if (!fast.TakeRow(cellCount, kMax, cells.data())) {
                // Both step over one cell the slow way.
                fast.ReadUntil('\t', cell, kMax);
                fast.Skip();
                slow.ReadUntil('\t', cell, kMax);
                slow.Skip();
                continue;
            }
            ++taken;
            for (int c = 0; c + 1 < cellCount; ++c) {
                const std::size_t n = slow.ReadUntil('\t', cell, kMax);
                ASSERT_EQ(cells[c], std::string_view(cell, n)) << "round " << round;
                slow.Skip();
            }
            const std::size_t n = slow.ReadUntil('\n', cell, kMax);
            ASSERT_EQ(cells[cellCount - 1], std::string_view(cell, n)) << "round " << round;
            ASSERT_TRUE(slow.SkipIf('\n'));
            ASSERT_EQ(fast.SawZeroByte(), slow.SawZeroByte()) << "round " << round;
            ASSERT_EQ(fast.BytesRead(), slow.BytesRead());
            // Both stand at the same byte: the next one read agrees.
            ASSERT_EQ(fast.SkipIf('a'), slow.SkipIf('a'));
        }
        EXPECT_GT(taken, 20) << "round " << round;
        EXPECT_EQ(fast.SawZeroByte(), round % 2 == 1);
    }
}

}  // namespace
}  // namespace belvaron
