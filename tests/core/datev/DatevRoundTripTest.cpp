// Every file the exporter writes parses back, with an independent reader,
// to the bookings, amounts and total that went in.
#include <gtest/gtest.h>

#include <random>

#include "DatevTestSupport.h"
#include "KneReader.h"
#include "TempDir.h"
#include "core/base/DataFolders.h"
#include "core/base/Format.h"
#include "core/datev/KneRecords.h"
#include "core/datev/PostversandWriter.h"

namespace belvaron {
namespace {

using test::ReadFile;
using test::TempDir;

// The characters a generated text is made of, Windows-1252 and code page 850.
struct Letter {
    char cp1252;
    char cp850;
};
constexpr Letter kLetters[] = {
    {'a', 'a'},       {'Z', 'Z'},       {'7', '7'},       {' ', ' '},       {'-', '-'},
    {'&', '&'},       {'\xE4', '\x84'}, {'\xF6', '\x94'}, {'\xFC', '\x81'}, {'\xC4', '\x8E'},
    {'\xD6', '\x99'}, {'\xDC', '\x9A'}, {'\xDF', '\xE1'}};

struct Expected {
    int64_t amount;
    int32_t key;
    int32_t soll;
    int32_t haben;
    int32_t bookingNo;
    std::string ddmm;
    std::string text;  // code page 850
    bool dm;
};

class Generator {
public:
    explicit Generator(unsigned seed) : rng_(seed) {}

    int Int(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }

    // A text of up to `max` letters; both texts and their code page 850 form.
    std::pair<std::string, std::string> Text(int max) {
        std::string cp1252;
        std::string cp850;
        const int n = Int(0, max);
        for (int i = 0; i < n; ++i) {
            const Letter& l = kLetters[Int(0, std::size(kLetters) - 1)];
            cp1252 += l.cp1252;
            cp850 += l.cp850;
        }
        return {cp1252, cp850};
    }

    // German notation with thousands dots: 1.234.567,89, "-" for negatives.
    static std::string Amount(int64_t cents) {
        const bool negative = cents < 0;
        const std::string digits = std::to_string(negative ? -cents : cents);
        std::string euros = digits.size() > 2 ? digits.substr(0, digits.size() - 2) : "0";
        const std::string rest = digits.size() > 2 ? digits.substr(digits.size() - 2)
                                                   : std::string(2 - digits.size(), '0') + digits;
        std::string grouped;
        for (std::size_t i = 0; i < euros.size(); ++i) {
            if (i > 0 && (euros.size() - i) % 3 == 0) grouped += '.';
            grouped += euros[i];
        }
        return (negative ? "-" : "") + grouped + "," + rest;
    }

    std::mt19937_64& rng() { return rng_; }

private:
    std::mt19937_64 rng_;
};

struct RoundTripCase {
    int bookings;
    bool extended;
    unsigned seed;
};

class RoundTripTest : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(RoundTripTest, FilesReadBackToTheBookings) {
    const RoundTripCase c = GetParam();
    BookingStore store(6000);
    DatevSettings settings;
    DatevRange range;
    test::SetTypicalSettings(settings, c.extended);
    Generator gen(c.seed);
    const int fromDay = gen.Int(1, 100);
    const int toDay = gen.Int(fromDay, 365);

    std::vector<Expected> expected;
    int64_t total = 0;
    for (int i = 0; i < c.bookings; ++i) {
        // Day of year 0..366: 0 and 366 fall outside the year 2005.
        const int day = gen.Int(0, 366);
        const int month = day == 0 ? 12 : day == 366 ? 1 : (day - 1) / 31 + 1;
        const int dom = day == 0 ? 31 : day == 366 ? 1 : (day - 1) % 31 + 1;
        const int year = day == 0 ? 2004 : day == 366 ? 2006 : 2005;
        const int sortable = (month - 1) * 31 + dom;
        const bool negative = gen.Int(0, 9) == 0;
        const int64_t cents = (negative ? -1 : 1) * std::uniform_int_distribution<int64_t>(
                                                        0, kKneMaxAmountCents)(gen.rng());
        auto [beleg, belegOem] = gen.Text(10);
        auto [name, nameOem] = gen.Text(40);
        auto [purpose, purposeOem] = gen.Text(40);
        const bool dm = gen.Int(0, 3) == 0;
        test::NewBooking nb;
        const std::string date = Format("%02d.%02d.%04d", dom, month, year);
        const std::string amount = Generator::Amount(cents);
        nb.bookingNo = gen.Int(1, 999999);
        nb.date = date;
        nb.beleg = beleg;
        nb.name = name;
        nb.purpose = purpose;
        nb.soll = gen.Int(1, 99999);
        nb.haben = gen.Int(1, 99999);
        nb.amount = amount;
        nb.currency = dm ? "DM" : "EUR";
        nb.key = gen.Int(0, 3) == 0 ? gen.Int(1, 99) : 0;
        test::AddBooking(store, nb);
        const bool inRange = year == 2005 && sortable >= fromDay && sortable <= toDay;
        if (!inRange) continue;
        std::string text = "(" + belegOem + ")" + nameOem + "," + purposeOem;
        text.resize(std::min<std::size_t>(text.size(), 30));
        expected.push_back({cents, nb.key, nb.soll, nb.haben, nb.bookingNo,
                            date.substr(0, 2) + date.substr(3, 2), text, dm});
        total += cents;
    }
    auto dateOf = [](int sortable) {
        return Format("%02d.%02d.2005", (sortable - 1) % 31 + 1, (sortable - 1) / 31 + 1);
    };
    test::SetRange(range, dateOf(fromDay), dateOf(toDay));

    TempDir dir;
    PostversandDataFile dataFile = WritePostversandDataFile(store, settings, range, dir.path());
    EXPECT_EQ(dataFile.count, static_cast<int>(expected.size()));
    EXPECT_TRUE(dataFile.notices.empty());
    const int32_t blockCount = dataFile.blockCount;
    const PostversandBatch batch =
        WritePostversandHeaderFile(std::move(dataFile), settings, range, dir.path());
    ASSERT_TRUE(batch.written);
    EXPECT_TRUE(batch.notices.empty());

    const std::string data = ReadFile(dir.File(c.extended ? "ED00001" : "DE001"));
    const auto file = test::KneReader(data, c.extended).Read();
    ASSERT_EQ(file.error, "");
    EXPECT_EQ(file.blocks, blockCount);
    EXPECT_EQ(file.total, total);
    ASSERT_EQ(file.bookings.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto& got = file.bookings[i];
        const auto& want = expected[i];
        SCOPED_TRACE("booking " + std::to_string(i));
        EXPECT_EQ(got.amount, want.amount);
        EXPECT_EQ(got.key, want.key);
        EXPECT_EQ(got.konto, want.soll);
        EXPECT_EQ(got.gegenkonto, want.haben);
        EXPECT_EQ(got.belegfeld1, want.bookingNo);
        EXPECT_EQ(got.ddmm, want.ddmm);
        EXPECT_EQ(got.text, want.text);
        EXPECT_EQ(got.currency, c.extended ? (want.dm ? "DEM" : "EUR") : (want.dm ? "2" : "1"));
    }

    const std::string header = ReadFile(dir.File(c.extended ? "EV01" : "DV01"));
    if (c.extended) {
        ASSERT_EQ(header.size(), 256u);
        EXPECT_EQ(header.substr(179, 5), Format("%05d", file.blocks));
    } else {
        ASSERT_EQ(header.size(), 128u);
        EXPECT_EQ(static_cast<unsigned char>(header[112]) | static_cast<unsigned char>(header[113])
                                                                << 8,
                  file.blocks);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Stores, RoundTripTest,
    ::testing::Values(RoundTripCase{1, true, 1}, RoundTripCase{1, false, 2},
                      RoundTripCase{2, true, 3}, RoundTripCase{17, false, 4},
                      RoundTripCase{250, true, 5}, RoundTripCase{999, false, 6},
                      RoundTripCase{3001, true, 7}, RoundTripCase{5000, true, 8},
                      RoundTripCase{5000, false, 9}),
    [](const auto& info) {
        return std::to_string(info.param.bookings) + (info.param.extended ? "Extended" : "Old");
    });

}  // namespace
}  // namespace belvaron
