#include <gtest/gtest.h>

#include <filesystem>

#include "Portable.h"
#include "TempDir.h"
#include "core/base/InputFile.h"

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

}  // namespace
}  // namespace belvaron
