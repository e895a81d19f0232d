#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

#include "DatevTestSupport.h"
#include "FileSizeLimit.h"
#include "KneReader.h"
#include "NoticeTexts.h"
#include "Portable.h"
#include "TempDir.h"
#include "core/base/DataFolders.h"
#include "core/base/Format.h"
#include "core/datev/DatevMessages.h"
#include "core/datev/KneRecords.h"
#include "core/datev/PostversandWriter.h"

namespace belvaron {
namespace {

using namespace std::string_literals;
using test::AddBooking;
using test::NewBooking;
using test::ReadFile;
using test::TempDir;

class DataFileTest : public ::testing::TestWithParam<bool> {
protected:
    // The messages of every stage run, in the order a caller shows them.
    Notices shown;
    BookingStore store{64};
    DatevSettings settings;
    DatevRange range;
    bool extended = GetParam();
    std::size_t headerSize = GetParam() ? 93 : 80;
    StreamedDataFile streamed;     // of the last Stream
    PostversandDataFile dataFile;  // of the last WriteData, until WriteHeader

    void SetUp() override {
        test::SetTypicalSettings(settings, extended);
        test::SetRange(range, "01.01.2005", "31.12.2005");
    }

    std::optional<int> Stream(std::string& bytes) {
        bytes.clear();
        StreamedDataFile result =
            StreamPostversandDataFile(store, settings, range, [&bytes](std::string_view b) {
                bytes += b;
                return true;
            });
        shown.Append(result.notices);
        if (!result.usable) return std::nullopt;
        streamed = std::move(result);
        return streamed.count;
    }
    int WriteData(const std::string& folder) {
        dataFile = WritePostversandDataFile(store, settings, range, folder);
        shown.Append(dataFile.notices);
        return dataFile.count;
    }
    bool WriteHeader(const std::string& folder) {
        const PostversandBatch batch =
            WritePostversandHeaderFile(std::move(dataFile), settings, range, folder);
        shown.Append(batch.notices);
        return batch.written;
    }

    // A booking without document number and name whose record has exactly
    // `length` bytes.
    void AddWithRecordLength(std::size_t length, std::string_view amount) {
        NewBooking nb{.beleg = "", .name = "", .purpose = "", .amount = amount};
        AddBooking(store, nb);
        BookingRecord& b = store[store.bookingCount - 1];
        const std::size_t base = KneBookingRecord(b, *DigitsToInt(amount), extended, 4).size();
        ASSERT_GE(length, base);
        ASSERT_LE(length - base, 27u);
        SetField(b.purpose, std::string(length - base, 'p'));
        ASSERT_EQ(KneBookingRecord(b, *DigitsToInt(amount), extended, 4).size(), length);
    }
};

INSTANTIATE_TEST_SUITE_P(Variants, DataFileTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Extended" : "Old"; });

TEST_P(DataFileTest, EmptyRangeIsOneBlockWithHeaderAndTotal) {
    AddBooking(store, {.date = "01.01.2006"});
    std::string bytes;
    EXPECT_EQ(Stream(bytes), 0);
    ASSERT_EQ(bytes.size(), 256u);
    EXPECT_EQ(bytes.substr(0, headerSize), KneHeaderRecord(settings, range, "05", extended));
    EXPECT_EQ(bytes.substr(headerSize, 3), "xyz");
    EXPECT_EQ(bytes.substr(headerSize + 3), std::string(256 - headerSize - 3, '\0'));
    EXPECT_EQ(streamed.blockCount, 1);
    EXPECT_TRUE(shown.empty());
}

TEST_P(DataFileTest, BothEndsOfTheRangeAreIncluded) {
    AddBooking(store, {.bookingNo = 1, .date = "31.12.2004", .amount = "1,00"});
    AddBooking(store, {.bookingNo = 2, .date = "01.01.2005", .amount = "2,00"});
    AddBooking(store, {.bookingNo = 3, .date = "15.06.2005", .amount = "4,00"});
    AddBooking(store, {.bookingNo = 4, .date = "31.12.2005", .amount = "8,00"});
    AddBooking(store, {.bookingNo = 5, .date = "01.01.2006", .amount = "16,00"});
    std::string bytes;
    EXPECT_EQ(Stream(bytes), 3);
    const auto file = test::KneReader(bytes, extended).Read();
    ASSERT_EQ(file.error, "");
    ASSERT_EQ(file.bookings.size(), 3u);
    EXPECT_EQ(file.bookings[0].belegfeld1, 2);
    EXPECT_EQ(file.bookings[2].belegfeld1, 4);
    EXPECT_EQ(file.total, 1400);
}

TEST_P(DataFileTest, BookingRecordReachingByte236StaysInItsBlock) {
    const std::size_t first = extended ? 73 : 82;
    AddWithRecordLength(first, "1,00");
    AddWithRecordLength(236 - headerSize - first, "1,00");
    std::string bytes;
    ASSERT_EQ(Stream(bytes), 2);
    ASSERT_EQ(bytes.size(), 256u);
    EXPECT_EQ(bytes[headerSize + first], '+');
    EXPECT_EQ(bytes.substr(236, 9), "x200yz\0\0\0"s);
    EXPECT_EQ(streamed.blockCount, 1);
}

TEST_P(DataFileTest, BookingRecordReachingByte237StartsANewBlock) {
    const std::size_t first = extended ? 73 : 82;
    AddWithRecordLength(first, "1,00");
    AddWithRecordLength(237 - headerSize - first, "1,00");
    std::string bytes;
    ASSERT_EQ(Stream(bytes), 2);
    ASSERT_EQ(bytes.size(), 512u);
    EXPECT_EQ(bytes.substr(headerSize + first, 256 - headerSize - first),
              std::string(256 - headerSize - first, '\0'));
    EXPECT_EQ(bytes[256], '+');
    EXPECT_EQ(streamed.blockCount, 2);
    EXPECT_EQ(test::KneReader(bytes, extended).Read().error, "");
}

TEST_P(DataFileTest, TotalRecordReachingByte255StaysInItsBlock) {
    const std::size_t second = extended ? 60 : 70;
    AddWithRecordLength(236 - headerSize - second, "10.000.000.000.000,00");
    AddWithRecordLength(second, "0,01");
    std::string bytes;
    ASSERT_EQ(Stream(bytes), 2);
    ASSERT_EQ(bytes.size(), 256u);
    EXPECT_EQ(bytes.substr(236), "x1000000000000001yz\0"s);
    EXPECT_EQ(streamed.blockCount, 1);
}

TEST_P(DataFileTest, TotalRecordReachingByte256StartsANewBlock) {
    const std::size_t second = extended ? 60 : 70;
    AddWithRecordLength(236 - headerSize - second, "100.000.000.000.000,00");
    AddWithRecordLength(second, "0,01");
    std::string bytes;
    ASSERT_EQ(Stream(bytes), 2);
    ASSERT_EQ(bytes.size(), 512u);
    EXPECT_EQ(bytes.substr(236, 20), std::string(20, '\0'));
    EXPECT_EQ(bytes.substr(256, 21), "x10000000000000001yz\0"s);
    EXPECT_EQ(streamed.blockCount, 2);
}

TEST_P(DataFileTest, NegativeAmountsGiveASignedTotal) {
    AddBooking(store, {.amount = "-12,50"});
    AddBooking(store, {.amount = "2,50"});
    std::string bytes;
    ASSERT_EQ(Stream(bytes), 2);
    const auto file = test::KneReader(bytes, extended).Read();
    ASSERT_EQ(file.error, "");
    EXPECT_EQ(file.bookings[0].amount, -1250);
    EXPECT_EQ(file.total, -1000);
    EXPECT_NE(bytes.find("w1000yz"), std::string::npos);
}

TEST_P(DataFileTest, RangeOverTwoYearsWarnsAndUsesTheFirstYear) {
    test::SetRange(range, "01.12.2005", "31.01.2006");
    AddBooking(store, {.date = "15.01.2006"});
    std::string bytes;
    EXPECT_EQ(Stream(bytes), 1);
    EXPECT_EQ(test::Texts(shown),
              std::vector<std::string>{
                  "(E:304)\nEs dürfen nur Buchungen innerhalb eines Jahres exportiert werden!\n"
                  "Buchungen sind von: 01.12.2005 bis: 31.01.2006"});
    EXPECT_EQ(streamed.exportYear, "05");
    EXPECT_EQ(bytes.substr(26, 2), "05");
}

TEST_P(DataFileTest, AmountOfMoreThanEighteenDigitsRefusesTheWholeFile) {
    AddBooking(store, {.bookingNo = 7, .amount = "1,00"});
    AddBooking(store, {.bookingNo = 8, .amount = "12.345.678.901.234.567,89"});
    TempDir dir;
    dir.Write(extended ? "ED00001" : "DE001", "old data");
    EXPECT_EQ(WriteData(dir.path()), 0);
    EXPECT_FALSE(WriteHeader(dir.path()));
    EXPECT_EQ(test::Texts(shown),
              std::vector<std::string>{Format(msg::kE316Amount, "12.345.678.901.234.567,89", 8)});
    EXPECT_EQ(ReadFile(dir.File(extended ? "ED00001" : "DE001")), "old data");
    EXPECT_FALSE(std::filesystem::exists(dir.File(extended ? "EV01" : "DV01")));
}

TEST(DataFileSize, MoreBlocksThanTheOldHeaderFileCountsAreRefused) {
    BookingStore store(200'000);
    DatevSettings settings;
    DatevRange range;
    test::SetTypicalSettings(settings, false);
    test::SetRange(range, "01.01.2005", "31.12.2005");
    for (int i = 0; i < 200'000; ++i) AddBooking(store, {.bookingNo = i});
    TempDir dir;
    PostversandDataFile data = WritePostversandDataFile(store, settings, range, dir.path());
    EXPECT_EQ(data.count, 0);
    const int32_t blocks = data.blockCount;
    EXPECT_EQ(test::Texts(data.notices),
              std::vector<std::string>{Format(msg::kE316Size, blocks, 65535)});
    const PostversandBatch batch =
        WritePostversandHeaderFile(std::move(data), settings, range, dir.path());
    EXPECT_FALSE(batch.written);
    EXPECT_TRUE(batch.notices.empty());
    EXPECT_GT(blocks, 65535);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

// An amount the ten-digit amount field cannot hold refuses the batch before a
// file is opened: the folder given does not even exist, yet the refusal is
// the only message (no E:302), and the amount at the limit still goes in.
struct AmountFieldCase {
    const char* amount;
    bool refused;
};

class AmountFieldTest : public ::testing::TestWithParam<std::tuple<bool, AmountFieldCase>> {};

TEST_P(AmountFieldTest, AmountAboveTenDigitsIsRefusedBeforeAnyFileIsOpened) {
    const auto [extended, c] = GetParam();
    BookingStore store(4);
    DatevSettings settings;
    DatevRange range;
    test::SetTypicalSettings(settings, extended);
    test::SetRange(range, "01.01.2005", "31.12.2005");
    AddBooking(store, {.bookingNo = 3, .amount = "1,00"});
    AddBooking(store, {.bookingNo = 4, .amount = c.amount});
    TempDir dir;
    const std::string missing = dir.File("missing");
    PostversandDataFile data = WritePostversandDataFile(store, settings, range, missing);
    if (c.refused) {
        EXPECT_EQ(data.count, 0);
        EXPECT_EQ(test::Texts(data.notices),
                  std::vector<std::string>{Format(msg::kE316AmountField, c.amount, 4)});
    } else {
        EXPECT_EQ(
            test::Texts(data.notices),
            std::vector<std::string>{Format(
                msg::kE302, (missing + test::kSep + (extended ? "ED00001" : "DE001")).c_str())});
    }
    EXPECT_FALSE(std::filesystem::exists(missing));
}

INSTANTIATE_TEST_SUITE_P(
    Amounts, AmountFieldTest,
    ::testing::Combine(::testing::Bool(),
                       ::testing::Values(AmountFieldCase{"99.999.999,99", false},
                                         AmountFieldCase{"-99.999.999,99", false},
                                         AmountFieldCase{"100.000.000,00", true},
                                         AmountFieldCase{"-100.000.000,00", true},
                                         AmountFieldCase{"123456789012,34", true})));

TEST(DataFileSize, TooManyBlocksAreRefusedBeforeAnyFileIsOpened) {
    BookingStore store(200'000);
    DatevSettings settings;
    DatevRange range;
    test::SetTypicalSettings(settings, false);
    test::SetRange(range, "01.01.2005", "31.12.2005");
    for (int i = 0; i < 200'000; ++i) AddBooking(store, {.bookingNo = i});
    TempDir dir;
    const std::string missing = dir.File("missing");
    PostversandDataFile data = WritePostversandDataFile(store, settings, range, missing);
    EXPECT_EQ(data.count, 0);
    EXPECT_EQ(test::Texts(data.notices),
              std::vector<std::string>{Format(msg::kE316Size, data.blockCount, 65535)});
    EXPECT_FALSE(std::filesystem::exists(missing));
}

// Cancelled in the checking pass (tick 4096) or while the file is written
// (tick 8192 of 10000), the export shows nothing, the old batch stays and no
// new file is left; the ticks count bookings over both passes.
class PostversandCancelTest : public ::testing::TestWithParam<int64_t> {};

TEST_P(PostversandCancelTest, CancelledExportLeavesTheOldBatch) {
    BookingStore store(5000);
    DatevSettings settings;
    DatevRange range;
    test::SetTypicalSettings(settings, true);
    test::SetRange(range, "01.01.2005", "31.12.2005");
    for (int i = 0; i < 5000; ++i) AddBooking(store, {.bookingNo = i});
    TempDir dir;
    dir.Write("ED00001", "old data");
    dir.Write("EV01", "old header");
    std::vector<int64_t> ticks;
    const Progress progress{[&](int64_t done, int64_t total) {
        EXPECT_EQ(total, 10000);
        ticks.push_back(done);
        return done < GetParam();
    }};
    PostversandDataFile data =
        WritePostversandDataFile(store, settings, range, dir.path(), &progress);
    EXPECT_TRUE(data.cancelled);
    EXPECT_EQ(data.count, 0);
    EXPECT_TRUE(data.notices.empty());
    const PostversandBatch batch =
        WritePostversandHeaderFile(std::move(data), settings, range, dir.path());
    EXPECT_FALSE(batch.written);
    EXPECT_TRUE(batch.notices.empty());
    EXPECT_EQ(ticks.back(), GetParam());
    EXPECT_EQ(ReadFile(dir.File("ED00001")), "old data");
    EXPECT_EQ(ReadFile(dir.File("EV01")), "old header");
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++files;
    EXPECT_EQ(files, 2u);
}

INSTANTIATE_TEST_SUITE_P(Ticks, PostversandCancelTest, ::testing::Values(4096, 8192));

// The files of a batch, and the replacement of an existing batch.
class BatchFilesTest : public DataFileTest {
protected:
    TempDir dir;
    std::string DataName() const { return extended ? "ED00001" : "DE001"; }
    std::string HeaderName() const { return extended ? "EV01" : "DV01"; }
    std::size_t FileCount() const {
        std::size_t n = 0;
        for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++n;
        return n;
    }
};

INSTANTIATE_TEST_SUITE_P(Variants, BatchFilesTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Extended" : "Old"; });

TEST_P(BatchFilesTest, NewBatchReplacesTheOldOneOnlyWhenBothFilesAreComplete) {
    dir.Write(DataName(), "old data");
    dir.Write(HeaderName(), "old header");
    AddBooking(store, {});
    EXPECT_EQ(WriteData(dir.path()), 1);
    EXPECT_EQ(ReadFile(dir.File(DataName())), "old data");
    EXPECT_TRUE(WriteHeader(dir.path()));
    std::string expected;
    Stream(expected);
    EXPECT_EQ(ReadFile(dir.File(DataName())), expected);
    EXPECT_EQ(ReadFile(dir.File(HeaderName())),
              KneHeaderFile(settings, range, streamed.exportYear, streamed.blockCount, extended));
    EXPECT_EQ(FileCount(), 2u);
    EXPECT_TRUE(shown.empty());
}

TEST_P(BatchFilesTest, MissingFolderReportsBothFiles) {
    const std::string folder = dir.File("gone");
    AddBooking(store, {});
    EXPECT_EQ(WriteData(folder), 0);
    EXPECT_FALSE(WriteHeader(folder));
    EXPECT_EQ(
        test::Texts(shown),
        (std::vector<std::string>{
            "(E:302)\n" + folder + test::kSep + DataName() + " konnte nicht geöffnet werden!",
            "(E:305)\n" + folder + test::kSep + HeaderName() + " konnte nicht geöffnet werden!"}));
}

TEST_P(BatchFilesTest, FailedDataFileKeepsTheOldBatch) {
    BELVARON_POSIX_ONLY("a file-size limit");
    dir.Write(DataName(), "old data");
    dir.Write(HeaderName(), "old header");
    for (int i = 0; i < 40; ++i) AddBooking(store, {.bookingNo = i});
    {
        test::FileSizeLimit limit(1000);
        EXPECT_EQ(WriteData(dir.path()), 0);
        EXPECT_FALSE(WriteHeader(dir.path()));
    }
    const std::string path = dir.File(DataName());
    EXPECT_EQ(test::Texts(shown), std::vector<std::string>{Format(msg::kE302Write, path.c_str())});
    EXPECT_EQ(ReadFile(dir.File(DataName())), "old data");
    EXPECT_EQ(ReadFile(dir.File(HeaderName())), "old header");
    EXPECT_EQ(FileCount(), 2u);
}

TEST_P(BatchFilesTest, FailedHeaderFileKeepsTheOldBatch) {
    BELVARON_POSIX_ONLY("a file-size limit");
    dir.Write(DataName(), "old data");
    dir.Write(HeaderName(), "old header");
    AddBooking(store, {});
    EXPECT_EQ(WriteData(dir.path()), 1);
    {
        test::FileSizeLimit limit(100);
        EXPECT_FALSE(WriteHeader(dir.path()));
    }
    const std::string path = dir.File(HeaderName());
    EXPECT_EQ(test::Texts(shown), std::vector<std::string>{Format(msg::kE305Write, path.c_str())});
    EXPECT_EQ(ReadFile(dir.File(DataName())), "old data");
    EXPECT_EQ(ReadFile(dir.File(HeaderName())), "old header");
    EXPECT_EQ(FileCount(), 2u);
}

}  // namespace
}  // namespace belvaron
