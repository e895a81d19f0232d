#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "TempDir.h"
#include "core/base/LineReader.h"

namespace belvaron {
namespace {

struct Read {
    std::vector<std::string> lines;
    std::vector<int> numbers;
    bool error = false;
};

Read ReadAll(const std::string& path, std::size_t bufferSize) {
    Read read;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        read.error = true;
        return read;
    }
    LineReader reader(f, bufferSize);
    for (;;) {
        const auto r = reader.Next();
        if (r == LineReader::Result::End) break;
        if (r == LineReader::Result::Error) {
            read.error = true;
            break;
        }
        read.lines.emplace_back(reader.Text());
        read.numbers.push_back(reader.Number());
    }
    std::fclose(f);
    return read;
}

// Every case runs with buffers so small that line breaks, and the CR and LF
// of one break, fall on buffer boundaries.
class LineReaderTest : public ::testing::TestWithParam<std::size_t> {
protected:
    Read ReadText(const std::string& bytes) {
        return ReadAll(dir.Write("f.txt", bytes), GetParam());
    }
    test::TempDir dir;
};

TEST_P(LineReaderTest, CrLfAndLfEndLinesLoneCrStays) {
    const Read r = ReadText("a\r\nb\n\r\nc\rd\r\nlast");
    EXPECT_EQ(r.lines, (std::vector<std::string>{"a", "b", "", "c\rd", "last"}));
    EXPECT_EQ(r.numbers, (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_FALSE(r.error);
}

TEST_P(LineReaderTest, EmptyFileHasNoLine) {
    EXPECT_TRUE(ReadText("").lines.empty());
    EXPECT_EQ(ReadText("\r\n").lines, std::vector<std::string>{""});
}

TEST_P(LineReaderTest, LongLineKeepsItsFirst254BytesAndStaysOneLine) {
    std::string longLine;
    for (int i = 0; i < 600; ++i) longLine += static_cast<char>('a' + i % 26);
    const Read r = ReadText(longLine + "\r\nnext\r\n" + std::string(254, 'x') + "\r\n" +
                            std::string(255, 'y') + "\r\n");
    ASSERT_EQ(r.lines.size(), 4u);
    EXPECT_EQ(r.lines[0], longLine.substr(0, 254));
    EXPECT_EQ(r.lines[1], "next");
    EXPECT_EQ(r.lines[2], std::string(254, 'x'));  // its CR is part of the break, not cut text
    EXPECT_EQ(r.lines[3], std::string(254, 'y'));
    EXPECT_EQ(r.numbers[1], 2);
}

// The file reader and the in-memory splitter share one line-end rule.
TEST_P(LineReaderTest, SplitsLikeSplitLines) {
    for (const std::string text : {"a\r\r\n", "a\rb\r\nc\r", "\n\n", "x\r\n\r", "\r"}) {
        std::vector<std::string> expected;
        for (const std::string_view line : SplitLines(text)) expected.emplace_back(line);
        EXPECT_EQ(ReadText(text).lines, expected) << testing::PrintToString(text);
    }
}

INSTANTIATE_TEST_SUITE_P(BufferSizes, LineReaderTest, ::testing::Values(1, 2, 3, 7, 255, 65536));

TEST(LineReaderErrorTest, AFolderCannotBeRead) {
    test::TempDir dir;
    EXPECT_TRUE(ReadAll(dir.path(), 4096).error);
}

}  // namespace
}  // namespace belvaron
