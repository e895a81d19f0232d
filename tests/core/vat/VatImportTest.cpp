#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "NoticeTexts.h"
#include "Portable.h"
#include "TempDir.h"
#include "VatTestSupport.h"
#include "core/base/FixedText.h"
#include "core/base/Format.h"
#include "core/base/TextInputMessages.h"
#include "core/vat/VatColumns.h"
#include "core/vat/VatImport.h"
#include "core/vat/VatRows.h"

namespace belvaron {
namespace {

using test::CrLf;

// ---- Columns of the header line ----

struct ColumnCase {
    const char* name;
    const char* header;
    VatColumns expected;
};

class VatColumnsTest : public ::testing::TestWithParam<ColumnCase> {};

TEST_P(VatColumnsTest, FindsTheColumns) {
    const VatColumns c = FindVatColumns(GetParam().header);
    const VatColumns& e = GetParam().expected;
    EXPECT_EQ(c.bookingNo, e.bookingNo);
    EXPECT_EQ(c.date, e.date);
    EXPECT_EQ(c.account, e.account);
    EXPECT_EQ(c.amount, e.amount);
}

INSTANTIATE_TEST_SUITE_P(
    Headers, VatColumnsTest,
    ::testing::Values(
        ColumnCase{"LeadingTab", "\tBuchungs-Nr.\tDatum\tKonto\tZahlbetrag", {1, 2, 3, 4}},
        ColumnCase{"BuchungNr", "\tBuchung Nr.\tDatum\tKonto\tZahlbetrag", {1, 2, 3, 4}},
        ColumnCase{"FieldZero", "Buchungs-Nr.\tDatum\tKonto\tBetrag", {0, 1, 2, 3}},
        ColumnCase{
            "LaterBetragWins", "\tZahlbetrag\tDatum\tBuchungs-Nr.\tKonto\tBetrag", {3, 2, 4, 5}},
        ColumnCase{"LaterZahlbetragWins",
                   "\tBetrag\tBuchungs-Nr.\tDatum\tKonto\tZahlbetrag",
                   {2, 3, 4, 5}},
        // "Betrag" counts wherever else it occurs; the rightmost one wins.
        ColumnCase{
            "BetragAnywhere", "\tBuchungs-Nr.\tDatum\tKonto\tBetrag netto\tBetrag", {1, 2, 3, 5}},
        // A title must not occur earlier in the line: the earlier field wins.
        ColumnCase{"EarlierPrefixTakesIt",
                   "\tKontonummer\tBuchungs-Nr.\tDatum\tKonto\tBetrag",
                   {2, 3, 1, 5}},
        ColumnCase{"TitleInsideEarlierField",
                   "\tMwSt-Konto\tBuchungs-Nr.\tDatum\tKonto\tBetrag",
                   {2, 3, -1, 5}},
        ColumnCase{"RepeatedTitleKeepsFirst",
                   "\tDatum\tBuchungs-Nr.\tKonto\tZahlbetrag\tDatum",
                   {2, 1, 3, 4}},
        ColumnCase{"CaseSensitive", "\tbuchungs-nr.\tdatum\tkonto\tbetrag", {-1, -1, -1, -1}},
        ColumnCase{"Empty", "", {-1, -1, -1, -1}}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- The import ----

struct ExpectedRow {
    int no;
    const char* date;
    int account;
    std::string amount;
};

class VatImportTest : public ::testing::Test {
protected:
    bool Import(const std::string& bytes) { return ImportFile(dir.Write("mwst.txt", bytes)); }
    // The import of the file at `path`; its messages are added to `shown`.
    bool ImportFile(const std::string& path) {
        const VatImportOutcome outcome = ImportVatReport(rows, path);
        shown.Append(outcome.notices);
        return outcome.read;
    }
    void ExpectRows(const std::vector<ExpectedRow>& expected) {
        ASSERT_EQ(rows.count, static_cast<int>(expected.size()));
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const VatDetailRow& r = rows.rows[i];
            EXPECT_EQ(r.bookingNo, expected[i].no) << "row " << i;
            EXPECT_EQ(FieldText(r.date), expected[i].date) << "row " << i;
            EXPECT_EQ(r.account, expected[i].account) << "row " << i;
            EXPECT_EQ(FieldText(r.amount), expected[i].amount) << "row " << i;
        }
    }
    test::TempDir dir;
    Notices shown;
    VatRows rows{100};
};

constexpr const char* kHeader = "\tBuchungs-Nr.\tDatum\tKonto\tZahlbetrag";

struct RowCase {
    const char* name;
    std::string body;  // the lines after kHeader
    std::vector<ExpectedRow> rows;
};

class VatRowsTest : public VatImportTest, public ::testing::WithParamInterface<RowCase> {};

TEST_P(VatRowsTest, ReadsTheRows) {
    EXPECT_TRUE(Import(std::string(kHeader) + "\r\n" + GetParam().body));
    EXPECT_TRUE(shown.empty());
    ExpectRows(GetParam().rows);
}

const std::string k300Nines(300, '9');

INSTANTIATE_TEST_SUITE_P(
    Lines, VatRowsTest,
    ::testing::Values(
        RowCase{"OneRow",
                CrLf({"\t17\t15.01.2013\t1775 Umsatzsteuer\t19,00"}),
                {{17, "15.01.2013", 1775, "19,00"}}},
        RowCase{"LfOnlyAndNoFinalBreak",
                "\t17\t15.01.2013\t1775\t19,00\n\t18\t16.01.2013\t1775\t1,00",
                {{17, "15.01.2013", 1775, "19,00"}, {18, "16.01.2013", 1775, "1,00"}}},
        RowCase{"OnlyTabLinesAreData",
                CrLf({"MWST-EINZELWERTE", "Umsatzsteuer 19%", "\t17\t15.01.2013\t1775\t19,00", "",
                      "Summe Umsatzsteuer 19%\t\t\t\t19,00", " \t18\t16.01.2013\t1775\t1,00",
                      "GESAMT"}),
                {{17, "15.01.2013", 1775, "19,00"}}},
        RowCase{"MissingFieldsKeepThePreviousValues",
                CrLf({"\t17\t15.01.2013\t1775\t19,00", "\t18\t16.01.2013", "\t"}),
                {{17, "15.01.2013", 1775, "19,00"},
                 {18, "16.01.2013", 1775, "19,00"},
                 {0, "16.01.2013", 1775, "19,00"}}},
        RowCase{"MissingBeforeTheFirstLineAreEmpty", CrLf({"\t5"}), {{5, "", 0, ""}}},
        RowCase{"EmptyFieldsAreValuesNotMissing",
                CrLf({"\t17\t15.01.2013\t1775\t19,00", "\t\t\t\t"}),
                {{17, "15.01.2013", 1775, "19,00"}, {0, "", 0, ""}}},
        RowCase{"DateIsNormalised",
                CrLf({"\t17\t1.2.13\t1775\t19,00", "\t18\t3.11.'07\t1775\t1"}),
                {{17, "01.02.2013", 1775, "19,00"}, {18, "03.11.2007", 1775, "1"}}},
        RowCase{
            "LeadingIntegers", CrLf({"\t  -17x\tx\tUSt 1775\t-9,50"}), {{-17, "x", 0, "-9,50"}}},
        // Over-long texts keep their first 19 (date) and 29 (amount) bytes,
        // terminated; the cut date is then normalised.
        RowCase{
            "OverLongDateAndAmount",
            CrLf({"\t17\t15.01.2013 (Zahlung per Bank)\t1775\t1234567890123456789012345678901234"}),
            {{17, "15.01.2013", 1775, "12345678901234567890123456789"}}},
        // A line longer than 254 bytes is one row: fields beyond byte 254
        // count as missing, and the next line is a row of its own.
        RowCase{"LongLineIsCutNotSplit",
                CrLf({"\t17\t15.01.2013\t1775\t19,00", "\t18\t" + k300Nines + "\t1776\t7,00",
                      "\t19\t17.01.2013\t1775\t" + k300Nines}),
                {{17, "15.01.2013", 1775, "19,00"},
                 {18, "9999999999999999999", 1775, "19,00"},
                 {19, "17.01.2013", 1775, std::string(29, '9')}}}),
    [](const auto& info) { return std::string(info.param.name); });

struct MissingCase {
    const char* name;
    std::string file;
    const char* list;
};

class VatMissingColumnsTest : public VatImportTest,
                              public ::testing::WithParamInterface<MissingCase> {};

TEST_P(VatMissingColumnsTest, ReportsE223AndReadsNoRow) {
    EXPECT_FALSE(Import(GetParam().file));
    ASSERT_EQ(shown.items().size(), 1u);
    EXPECT_EQ(test::Last(shown).text,
              std::string("(E:223)\nIn der Quickbooks-MwSt-Datei fehlen folgende Spalten:\n\n") +
                  GetParam().list + "\n\nBitte erstellen Sie eine neue korrekte MwSt-Datei.");
    EXPECT_EQ(test::Last(shown).kind, NoticeKind::Plain);
    EXPECT_EQ(rows.count, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Headers, VatMissingColumnsTest,
    ::testing::Values(MissingCase{"DateAndAccount", CrLf({"\tBuchungs-Nr.\tBetrag", "\t17\t19,00"}),
                                  " 'Datum', 'Konto',"},
                      MissingCase{"EmptyFile", "", " 'Buchungs-Nr.', 'Datum', 'Konto', 'Betrag',"},
                      MissingCase{"EmptyFirstLine", CrLf({"", kHeader}),
                                  " 'Buchungs-Nr.', 'Datum', 'Konto', 'Betrag',"},
                      // A header is searched in its first 254 bytes only.
                      MissingCase{"AmountBeyondByte254",
                                  CrLf({"\tBuchungs-Nr.\tDatum\tKonto\t" + std::string(240, 'x') +
                                            "\tZahlbetrag",
                                        "\t17\t15.01.2013\t1775\t19,00"}),
                                  " 'Betrag',"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(VatImportTest, TheRestOfALongHeaderIsNoDataLine) {
    const std::string header =
        std::string(kHeader) + "\t" + std::string(240, 'x') + "\t99\t01.01.2013\t1775\t5";
    EXPECT_TRUE(Import(CrLf({header, "\t17\t15.01.2013\t1775\t19,00"})));
    ExpectRows({{17, "15.01.2013", 1775, "19,00"}});
}

TEST_F(VatImportTest, HeaderOnlyGivesNoRowAndNoMessage) {
    EXPECT_TRUE(Import(CrLf({kHeader, "GESAMT"})));
    EXPECT_EQ(rows.count, 0);
    EXPECT_TRUE(shown.empty());
}

TEST_F(VatImportTest, RowsAreAppendedToThoseThere) {
    test::AppendRow(rows, test::MakeRow(1, "01.01.2013", 1775, "1,00"));
    EXPECT_TRUE(Import(CrLf({kHeader, "\t17\t15.01.2013\t1775\t19,00"})));
    ExpectRows({{1, "01.01.2013", 1775, "1,00"}, {17, "15.01.2013", 1775, "19,00"}});
}

TEST_F(VatImportTest, MissingFileGivesE220) {
    const std::string path = dir.File("fehlt.txt");
    EXPECT_FALSE(ImportFile(path));
    ASSERT_EQ(shown.items().size(), 1u);
    EXPECT_EQ(test::Last(shown).text,
              "(E:220)\n" + path + " - Eingabedatei konnte nicht geöffnet werden!");
    EXPECT_EQ(rows.count, 0);
}

// Read without waiting and without end: a FIFO and an endless device are
// refused at once.
TEST_F(VatImportTest, FifoOrDeviceGivesE221AtOnce) {
    BELVARON_POSIX_ONLY("FIFOs and device files");
    const std::string fifo = dir.File("mwst.txt");
    ASSERT_TRUE(test::MakeFifo(fifo));
    for (const std::string& path : {fifo, std::string("/dev/zero")}) {
        shown = Notices{};
        EXPECT_FALSE(ImportFile(path));
        EXPECT_EQ(test::Texts(shown),
                  std::vector<std::string>{"(E:221)\n" + path +
                                           " - Eingabedatei kann nicht ausgelesen werden!"});
    }
}

TEST_F(VatImportTest, Utf8ReportIsReadAsWindows1252) {
    EXPECT_TRUE(Import("\xEF\xBB\xBF" + CrLf({kHeader,
                                              "\t17\t15.01.2013\t1775 \xC3\x9C"
                                              "berweisung\t19,00"})));
    ExpectRows({{17, "15.01.2013", 1775, "19,00"}});
    EXPECT_TRUE(shown.empty());
}

// The conversion is announced first; the error met after it follows.
TEST_F(VatImportTest, ConversionNoticeComesBeforeTheError) {
    const std::string path = dir.Write("mwst.txt", "\xEF\xBB\xBF\tBuchungs-Nr. \xE2\x86\x92\r\n");
    EXPECT_FALSE(ImportFile(path));
    const std::vector<std::string> texts = test::Texts(shown);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], Format(msg::kTextConverted, path.c_str(), msg::kEncodingUtf8, 1));
    EXPECT_TRUE(texts[1].starts_with("(E:223)\n")) << texts[1];
}

TEST_F(VatImportTest, CancelledImportLeavesTheRowsAsBefore) {
    VatRows many{10000};
    test::AppendRow(many, test::MakeRow(1, "01.01.2013", 1775, "1,00"));
    std::string report = std::string(kHeader) + "\r\n";
    for (int no = 1; no <= 5000; ++no) {
        report += "\t" + std::to_string(no) + "\t15.01.2013\t1775\t1,00\r\n";
    }
    const Progress cancel{[](int64_t, int64_t) { return false; }};
    const VatImportOutcome outcome = ImportVatReport(many, dir.Write("mwst.txt", report), &cancel);
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_FALSE(outcome.read);
    EXPECT_TRUE(outcome.notices.empty());
    EXPECT_EQ(many.count, 1);
}

TEST_F(VatImportTest, UnreadableHeaderGivesE221) {
    EXPECT_FALSE(ImportFile(dir.path()));  // a folder opens but cannot be read
    ASSERT_EQ(shown.items().size(), 1u);
    EXPECT_EQ(test::Last(shown).text,
              "(E:221)\n" + dir.path() + " - Eingabedatei kann nicht ausgelesen werden!");
}

TEST(VatImportFullTest, FullRowStoreGivesE224AndKeepsTheRows) {
    test::TempDir dir;
    VatRows rows{2};
    const std::string path =
        dir.Write("mwst.txt", CrLf({kHeader, "\t1\t01.01.2013\t1775\t1,00",
                                    "\t2\t02.01.2013\t1775\t2,00", "\t3\t03.01.2013\t1775\t3,00"}));
    const VatImportOutcome outcome = ImportVatReport(rows, path);
    EXPECT_FALSE(outcome.read);
    EXPECT_EQ(test::Texts(outcome.notices),
              std::vector<std::string>{"(E:224)\nEs konnte nicht genug Speicher allokiert werden"});
    EXPECT_EQ(rows.count, 2);
    EXPECT_EQ(rows.rows[1].bookingNo, 2);
}

TEST_F(VatImportTest, ShippedExampleReads) {
    EXPECT_TRUE(ImportFile(BELVARON_SOURCE_DIR "/examples/mwst.txt"));
    EXPECT_TRUE(shown.empty());
    ASSERT_EQ(rows.count, 14);
    ExpectRows({{1, "07.01.2025", 2200, "190,00"},
                {4, "21.01.2025", 2200, "47,90"},
                {8, "12.02.2025", 2200, "475,00"},
                {13, "12.02.2025", 2200, "38,00"},
                {4, "18.02.2025", 2200, "37,60"},
                {17, "05.03.2025", 2200, "190,00"},
                {22, "24.03.2025", 2200, "237,50"},
                {11, "05.02.2025", 2200, "56,00"},
                {2, "15.01.2025", 2200, "15,97"},
                {6, "25.02.2025", 2200, "39,92"},
                {9, "14.03.2025", 2200, "9,56"},
                {14, "17.03.2025", 2200, "11,18"},
                {19, "20.03.2025", 2200, "56,81"},
                {24, "26.03.2025", 2200, "7,98"}});
    for (int32_t i = 0; i < rows.count; ++i) {
        EXPECT_EQ(rows.rows[static_cast<std::size_t>(i)].account, 2200);
        EXPECT_EQ(FieldText(rows.rows[static_cast<std::size_t>(i)].date).size(), 10u);
    }
}

}  // namespace
}  // namespace belvaron
