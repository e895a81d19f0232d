#include <gtest/gtest.h>

#include "DatevTestSupport.h"
#include "FakeUi.h"
#include "core/base/DataFolders.h"
#include "core/base/Format.h"
#include "core/datev/KneRecords.h"
#include "core/datev/PostversandWriter.h"

namespace belvaron {
namespace {

using namespace std::string_literals;
using test::AddBooking;
using test::NewBooking;

// The worked example: 1.234,56 EUR from Soll 4400 to Haben 1200, booking
// number 17, key 0, 05.03.2005, length 4.
class KneBookingRecordTest : public ::testing::Test {
protected:
    test::FakeUi ui;
    BookingStore store{16};
    NewBooking nb{.bookingNo = 17};

    const BookingRecord& Add() {
        AddBooking(store, nb);
        return store[store.bookingCount - 1];
    }
};

TEST_F(KneBookingRecordTest, ExtendedWorkedExample) {
    const BookingRecord& b = Add();
    EXPECT_EQ(KneBookingRecord(b, 123456, true, 4),
              "+123456a01200\xBD          17\x1C"
              "d0503e04400\x1E(R-1)Mueller,Rechnung\x1C\xB3"
              "EUR\x1Cy"s);
}

TEST_F(KneBookingRecordTest, OldWorkedExample) {
    const BookingRecord& b = Add();
    EXPECT_EQ(KneBookingRecord(b, 123456, false, 4),
              "+123456a0001200b000017c000000d0503e04400f0000g0000\x1E(R-1)Mueller,Rechnung\x1C"
              "o1y"s);
}

TEST_F(KneBookingRecordTest, KeyFortyStandsBeforeTheGegenkontoOrAfterTheA) {
    nb.key = 40;
    const BookingRecord& b = Add();
    EXPECT_EQ(KneBookingRecord(b, 123456, true, 4).substr(0, 16), "+123456l40a01200");
    EXPECT_EQ(KneBookingRecord(b, 123456, false, 4).substr(0, 15), "+123456a4001200");
}

TEST_F(KneBookingRecordTest, DmJournalGivesDemAndO2) {
    nb.currency = "DM";
    const BookingRecord& b = Add();
    const std::string extended = KneBookingRecord(b, 100, true, 4);
    EXPECT_EQ(extended.substr(extended.size() - 6),
              "\xB3"
              "DEM\x1Cy"s);
    const std::string old = KneBookingRecord(b, 100, false, 4);
    EXPECT_EQ(old.substr(old.size() - 3), "o2y");
}

TEST_F(KneBookingRecordTest, NegativeAmountIsWrittenWithMinus) {
    const BookingRecord& b = Add();
    EXPECT_EQ(KneBookingRecord(b, -500, true, 4).substr(0, 5), "-500a");
    EXPECT_EQ(KneBookingRecord(b, -500, false, 4).substr(0, 5), "-500a");
    EXPECT_EQ(KneBookingRecord(b, 0, false, 4).substr(0, 3), "+0a");
}

TEST_F(KneBookingRecordTest, AccountWidthFollowsTheLength) {
    nb.soll = 44000;
    const BookingRecord& b = Add();
    const std::string r = KneBookingRecord(b, 1, true, 6);
    EXPECT_NE(r.find("a0001200\xBD"), std::string::npos);
    EXPECT_NE(r.find("e0044000\x1E"), std::string::npos);
}

TEST_F(KneBookingRecordTest, TextIsCutAtThirtyAndWrittenInCodePage850) {
    nb.beleg = "B\xC4";                // "BÄ"
    nb.name = "M\xFCller & S\xF6hne";  // "Müller & Söhne"
    nb.purpose =
        "Gr\xFC\xDF"
        "e aus K\xF6ln am Rhein";
    const BookingRecord& b = Add();
    // "(BÄ)Müller & Söhne,Grüße aus Köln am Rhein" cut at 30, in code page 850.
    EXPECT_EQ(KneBookingText(b),
              "(B\x8E)M\x81ller & S\x94hne,Gr\x81\xE1"
              "e aus K"s);
    const std::string r = KneBookingRecord(b, 1, true, 4);
    EXPECT_NE(r.find("\x1E(B\x8E)M\x81ller & S\x94hne,Gr\x81\xE1"
                     "e aus K\x1C"s),
              std::string::npos);
}

TEST_F(KneBookingRecordTest, ControlBytesInTheTextBecomeBlanks) {
    nb.name =
        "A\x1C"
        "B\x1E";
    const BookingRecord& b = Add();
    EXPECT_EQ(KneBookingText(b), "(R-1)A B ,Rechnung");
}

TEST_F(KneBookingRecordTest, FullTextFieldsAreReadOnlyToTheirWidth) {
    nb.beleg = "0123456789";  // fills the field: no terminator
    const BookingRecord& b = Add();
    EXPECT_EQ(KneBookingText(b), "(0123456789)Mueller,Rechnung");
}

// AppendDecimal writes what printf's %d, %0*d, %*d and %+lld write.
TEST(AppendDecimal, MatchesPrintf) {
    // clang-format off
    const int64_t values[] = {0, 1, -1, 7, 42, -42, 1200, 99999, 123456, -2147483648LL, 2147483647,
                              999999999999999999, -999999999999999999, INT64_MAX, INT64_MIN};
    // clang-format on
    for (const int64_t v : values) {
        for (int width = 0; width <= 22; ++width) {
            const auto ll = static_cast<long long>(v);
            std::string out;
            AppendDecimal(out, v, width, true);
            EXPECT_EQ(out, Format("%0*lld", width, ll));
            out.clear();
            AppendDecimal(out, v, width);
            EXPECT_EQ(out, Format("%*lld", width, ll));
            out.clear();
            AppendDecimal(out, v, width, false, true);
            EXPECT_EQ(out, Format("%+*lld", width, ll));
        }
    }
}

TEST(KneTotalRecord, SignedTotals) {
    EXPECT_EQ(KneTotalRecord(0), "xyz");
    EXPECT_EQ(KneTotalRecord(123456), "x123456yz");
    EXPECT_EQ(KneTotalRecord(-123456), "w123456yz");
    EXPECT_EQ(KneTotalRecord(INT64_MIN), "w9223372036854775808yz");
}

class KneHeaderTest : public ::testing::Test {
protected:
    test::FakeUi ui;
    DatevSettings settings;
    DatevRange range;
    std::string exportYear = "05";
    int32_t blockCount = 1;
    void SetUp() override {
        test::SetTypicalSettings(settings, true);
        test::SetRange(range, "01.01.2005", "31.12.2005");
    }
    std::string HeaderRecord(bool extended) const {
        return KneHeaderRecord(settings, range, exportYear, extended);
    }
    std::string HeaderFile(bool extended) const {
        return KneHeaderFile(settings, range, exportYear, blockCount, extended);
    }
};

TEST_F(KneHeaderTest, ExtendedHeaderRecord) {
    const std::string r = HeaderRecord(true);
    ASSERT_EQ(r.size(), 93u);
    EXPECT_EQ(r,
              "\x1D\x18"
              "11  11AB12345671234500170501010531120500"
              "1pw12" +
                  std::string(32, ' ') +
                  "y\xB5"
                  "1,4,4,----\x1Cy"s);
}

TEST_F(KneHeaderTest, OldHeaderRecord) {
    const std::string r = HeaderRecord(false);
    ASSERT_EQ(r.size(), 80u);
    EXPECT_EQ(r,
              "\x1D\x18"
              "11  11AB12345671234500170501010531120500"
              "1pw12" +
                  std::string(32, ' ') + "y"s);
}

TEST_F(KneHeaderTest, ExtendedHeaderFile) {
    blockCount = 1;
    const std::string r = HeaderFile(true);
    ASSERT_EQ(r.size(), 256u);
    EXPECT_EQ(r.substr(0, 33), "1     1234567Schmidt   0000100001");
    EXPECT_EQ(r.substr(33, 95), std::string(95, ' '));
    EXPECT_EQ(r.substr(128, 71),
              "V0000111AB123456712345001705"
              "0000010105311205001pw1200001001 11,4,4,----");
    EXPECT_EQ(r.substr(199), std::string(57, ' '));
}

TEST_F(KneHeaderTest, OldHeaderFile) {
    blockCount = 1;
    const std::string r = HeaderFile(false);
    ASSERT_EQ(r.size(), 128u);
    EXPECT_EQ(r.substr(0, 27), "1     1234567Schmidt   \x01\x00\x01\x00"s);
    EXPECT_EQ(r.substr(27, 37), std::string(37, ' '));
    EXPECT_EQ(r.substr(64),
              "V\x01\x00"
              "11AB12345671234500170"
              "5    010105311205001pw12"
              "\x01\x00\x01\x00\x01\x00         1"s);
}

TEST_F(KneHeaderTest, BlockCount256) {
    blockCount = 256;
    EXPECT_EQ(HeaderFile(true).substr(179, 5), "00256");
    EXPECT_EQ(HeaderFile(false).substr(112, 4), "\x00\x01\x00\x01"s);
}

TEST_F(KneHeaderTest, YearComesFromTheExportYear) {
    test::SetRange(range, "01.12.2005", "31.01.2006");
    EXPECT_EQ(HeaderFile(true).substr(154, 18), "050000011205310106");
    EXPECT_EQ(HeaderFile(false).substr(87, 18), "05    011205310106");
}

TEST_F(KneHeaderTest, ShortNameIsRightAligned) {
    SetField(settings.beratername, "Abc");
    EXPECT_EQ(HeaderFile(true).substr(13, 10), "       Abc");
    EXPECT_EQ(HeaderFile(false).substr(13, 10), "       Abc");
}

struct DigitsCase {
    const char* text;
    std::optional<int64_t> cents;
};

class DigitsToIntTest : public ::testing::TestWithParam<DigitsCase> {};

TEST_P(DigitsToIntTest, Converts) { EXPECT_EQ(DigitsToInt(GetParam().text), GetParam().cents); }

INSTANTIATE_TEST_SUITE_P(
    Amounts, DigitsToIntTest,
    ::testing::Values(DigitsCase{"1.234,56", 123456}, DigitsCase{"", 0}, DigitsCase{"abc", 0},
                      DigitsCase{"0,50", 50}, DigitsCase{"-1.234,56", -123456},
                      DigitsCase{"  -12,00", -1200}, DigitsCase{"\t-12,00", -1200},
                      DigitsCase{"12,00-", 1200}, DigitsCase{"+12,00", 1200},
                      DigitsCase{"x-12,00", 1200},
                      DigitsCase{"9.999.999.999.999.999,99", 999999999999999999},
                      DigitsCase{"99.999.999.999.999.999,99", std::nullopt},
                      DigitsCase{"21.474.836,48", 2147483648}));

TEST(DigitsToInt, ReadsOnlyTheFirstThirtyCharacters) {
    const std::string text = std::string(29, ' ') + "12";
    EXPECT_EQ(DigitsToInt(text), 1);
}

}  // namespace
}  // namespace belvaron
