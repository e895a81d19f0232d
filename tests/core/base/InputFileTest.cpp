#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "Portable.h"
#include "TempDir.h"
#include "core/base/InputFile.h"
#include "core/base/TextInput.h"

namespace belvaron {
namespace {

using test::TempDir;

struct InputCase {
    const char* name;
    // Prepares the path "input" in the folder; returns the path to read.
    std::string (*make)(const TempDir&);
    InputStatus status;
    const char* reason;
    bool posixOnly = false;  // needs FIFOs, devices or symbolic links
};

void PrintTo(const InputCase& c, std::ostream* os) { *os << c.name; }

const InputCase kCases[] = {
    {"RegularFile", [](const TempDir& d) { return d.Write("input", "12345"); }, InputStatus::Read,
     ""},
    {"FileAtTheLimit", [](const TempDir& d) { return d.Write("input", std::string(16, 'x')); },
     InputStatus::Read, ""},
    {"Missing", [](const TempDir& d) { return d.File("input"); }, InputStatus::Missing,
     "Datei nicht gefunden"},
    {"EmptyPath", [](const TempDir&) { return std::string(); }, InputStatus::Missing,
     "Datei nicht gefunden"},
    {"DanglingLink",
     [](const TempDir& d) {
         std::filesystem::create_symlink(d.File("nowhere"), d.File("input"));
         return d.File("input");
     },
     InputStatus::Missing, "Datei nicht gefunden", true},
    {"Folder",
     [](const TempDir& d) {
         std::filesystem::create_directory(d.File("input"));
         return d.File("input");
     },
     InputStatus::NotRegular, "keine normale Datei"},
    {"FifoWithoutWriter",
     [](const TempDir& d) {
         test::MakeFifo(d.File("input"));
         return d.File("input");
     },
     InputStatus::NotRegular, "keine normale Datei", true},
    {"EndlessDevice", [](const TempDir&) { return std::string("/dev/zero"); },
     InputStatus::NotRegular, "keine normale Datei", true},
    {"OverTheLimit", [](const TempDir& d) { return d.Write("input", std::string(17, 'x')); },
     InputStatus::TooLarge, "größer als 0 MB"},
};

class InputFileCases : public ::testing::TestWithParam<InputCase> {};

TEST_P(InputFileCases, ReadsOnlyARegularFileWithinTheLimit) {
    if (GetParam().posixOnly) {
        BELVARON_POSIX_ONLY("FIFOs, devices and symbolic links");
    }
    const InputCase& c = GetParam();
    TempDir dir;
    const std::string path = c.make(dir);
    const InputFile file = ReadInputFile(path, 16);
    EXPECT_EQ(file.status, c.status);
    EXPECT_EQ(InputFailureReason(file, 16), c.reason);
    if (file.status == InputStatus::Read) {
        EXPECT_EQ(file.bytes, test::ReadFile(path));
    } else {
        EXPECT_TRUE(file.bytes.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Table, InputFileCases, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(InputFile, LimitIsStatedInMegabytes) {
    InputFile file;
    file.status = InputStatus::TooLarge;
    EXPECT_EQ(InputFailureReason(file, 64u << 20), "größer als 64 MB");
}

// ---- TextInput: the stream a reader gets -------------------------------------

std::string StreamedBytes(TextInput& input) {
    std::string bytes;
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, input.file())) > 0) bytes.append(buffer, n);
    return bytes;
}

struct StreamCase {
    const char* name;
    std::string file;
    std::string streamed;  // what the reader must get
};

void PrintTo(const StreamCase& c, std::ostream* os) { *os << c.name; }

// Beyond 4 MB a file that needs no conversion is streamed from the file; a
// converted one from memory.
const std::string kLarge = std::string(5 << 20, 'x');
const StreamCase kStreamCases[] = {
    {"SmallWindows1252",
     "A\xe4"
     "B\r\n",
     "A\xe4"
     "B\r\n"},
    {"LargeWindows1252", kLarge + "\xe4\r\n", kLarge + "\xe4\r\n"},
    {"LargeUtf8", kLarge + "\xc3\xa4\r\n", kLarge + "\xe4\r\n"},
    // Its start already shows that it is no UTF-8: streamed as it is.
    {"LargeNotUtf8FromTheStart", "\xe4\r\n" + kLarge + "\xc3\xa4",
     "\xe4\r\n" + kLarge + "\xc3\xa4"},
    {"LargeUtf16",
     std::string("\xff\xfe"
                 "a\0\xe4\0",
                 6) +
         kLarge,
     "a\xe4" + std::string(kLarge.size() / 2, '?')},
    {"Empty", "", ""},
};

class TextInputCases : public ::testing::TestWithParam<StreamCase> {};

TEST_P(TextInputCases, StreamsTheConvertedBytes) {
    const StreamCase& c = GetParam();
    TempDir dir;
    TextInput input;
    ASSERT_TRUE(input.Open(dir.Write("input", c.file), 64 << 20));
    EXPECT_EQ(input.size(), c.streamed.size());
    EXPECT_TRUE(StreamedBytes(input) == c.streamed);
}

INSTANTIATE_TEST_SUITE_P(Table, TextInputCases, ::testing::ValuesIn(kStreamCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace belvaron
