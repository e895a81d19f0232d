#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <set>

#include "CsvReader.h"
#include "TempDir.h"
#include "core/base/CodePage.h"
#include "core/base/FixedText.h"
#include "core/datev/DatevDialogModel.h"
#include "core/datev/csv/CsvLayout.h"
#include "core/datev/csv/DatevCsv.h"

namespace belvaron {
namespace {

using test::ParseCsv;
using test::ReadFile;
using test::TempDir;
using test::TestBooking;

const std::string kGoldenDir = BELVARON_TEST_DATA "/datev/csv/";
const char* const kGoldenName = "EXTF_Buchungsstapel_20240301_20240331.csv";

// A small store for March 2024: a text with umlaut, quotes, ';', TAB and a
// line break, a negative amount, a 0 amount, a DM booking with key 40 and
// a text longer than 60 bytes, bookings just outside the range, and a
// booking on the first day stored last (the file keeps the store order).
void FillSmallStore(BookingStore& store) {
    test::Append(store, {.no = 17,
                         .date = "05.03.2024",
                         .beleg = "R-1",
                         .name = "M\xFCller GmbH",
                         .purpose = "Rechnung",
                         .soll = 1200,
                         .haben = 8400,
                         .amount = "1.234,56"});
    test::Append(store, {.no = 18,
                         .date = "06.03.2024",
                         .beleg = "",
                         .name = "Say \"Hi\"; ok",
                         .purpose = "Tab\there\r\nx",
                         .soll = 4400,
                         .haben = 1200,
                         .amount = "-19,00",
                         .key = 9});
    test::Append(store, {.no = 19, .date = "07.03.2024", .amount = "0,00"});
    test::Append(store, {.no = 20,
                         .date = "31.03.2024",
                         .beleg = "0123456789",
                         .name = "Name mit genau vierzig Zeichen .........",
                         .purpose = "Zweck mit genau vierzig Zeichen ........",
                         .soll = 10000,
                         .haben = 99999,
                         .amount = "0,01",
                         .currency = "DM",
                         .key = 40});
    test::Append(store, {.no = 21, .date = "01.04.2024"});
    test::Append(store, {.no = 16,
                         .date = "01.03.2024",
                         .beleg = "K7",
                         .name = "Kasse",
                         .purpose = "",
                         .soll = 1000,
                         .haben = 1200,
                         .amount = "12.345.678,90"});
    test::Append(store, {.no = 15, .date = "29.02.2024"});
}

class DatevCsvGolden : public ::testing::Test {
protected:
    void SetUp() override {
        FillSmallStore(store);
        options.createdAt = "20240401120000000";
        result = WriteDatevCsv(store, test::GoodSettings(), "01.03.2024", "31.03.2024", dir.path(),
                               options);
        bytes = ReadFile(dir.File(kGoldenName));
        // BELVARON_UPDATE_GOLDEN=1 rewrites the golden file (review the difference).
        if (std::getenv("BELVARON_UPDATE_GOLDEN")) {
            std::ofstream(kGoldenDir + kGoldenName, std::ios::binary) << bytes;
        }
    }

    BookingStore store{100};
    TempDir dir;
    CsvRunOptions options;
    DatevCsvResult result;
    std::string bytes;
};

TEST_F(DatevCsvGolden, FileEqualsTheGoldenFileByteForByte) {
    ASSERT_EQ(result.outcome, DatevCsvResult::Outcome::Written);
    EXPECT_EQ(result.written, 4);
    EXPECT_EQ(result.zeroLeftOut, 1);
    EXPECT_EQ(result.files, std::vector<std::string>{dir.File(kGoldenName)});
    EXPECT_TRUE(result.notices.empty());
    EXPECT_EQ(bytes, ReadFile(kGoldenDir + kGoldenName));
    EXPECT_EQ(test::DatevRuleProblems(bytes), std::vector<std::string>{});
}

// The fields the settings dialog greys out for the DATEV-Format change not
// one byte of it.
TEST_F(DatevCsvGolden, PostversandOnlyFieldsLeaveTheFileAlone) {
    DatevSettings other = test::GoodSettings();
    SetField(other.beratername, "Anders    ");
    SetField(other.passwort, "geh1");
    other.datentraegernummer = 77;
    other.abrechnungsnummer = 4321;
    other.kontonummernerweiterung = other.kontonummernerweiterung != 0 ? 0 : 1;
    TempDir otherDir;
    WriteDatevCsv(store, other, "01.03.2024", "31.03.2024", otherDir.path(), options);
    EXPECT_EQ(ReadFile(otherDir.File(kGoldenName)), bytes);
    for (const DatevDialogField field :
         {DatevDialogField::Beratername, DatevDialogField::Passwort,
          DatevDialogField::Datentraegernummer, DatevDialogField::Abrechnungsnummer,
          DatevDialogField::Erweiterung}) {
        EXPECT_TRUE(DatevDialogModel::PostversandOnly(field)) << static_cast<int>(field);
    }
    for (const DatevDialogField field :
         {DatevDialogField::Beraternummer, DatevDialogField::Mandantennummer,
          DatevDialogField::DfvKennzeichen,  // the header's Diktatkürzel
          DatevDialogField::Kontonummernlaenge, DatevDialogField::WjBeginnTag,
          DatevDialogField::Sachkontenrahmen, DatevDialogField::Festschreibung,
          DatevDialogField::BatchPeriod, DatevDialogField::DateFrom}) {
        EXPECT_FALSE(DatevDialogModel::PostversandOnly(field)) << static_cast<int>(field);
    }
}

TEST_F(DatevCsvGolden, HeaderFieldsInTheirPositions) {
    const auto records = ParseCsv(bytes);
    ASSERT_EQ(records.size(), 6u);
    const test::CsvRecord& h = records[0];
    ASSERT_EQ(h.size(), 31u);
    // Field number -> text and whether it is quoted; unlisted fields are empty and unquoted.
    const std::map<int, std::pair<std::string, bool>> expected = {
        {1, {"EXTF", true}},       {2, {"700", false}},
        {3, {"21", false}},        {4, {"Buchungsstapel", true}},
        {5, {"13", false}},        {6, {"20240401120000000", false}},
        {8, {"RE", true}},         {9, {"Belvaron V2.3", true}},
        {10, {"", true}},          {11, {"29098", false}},
        {12, {"55003", false}},    {13, {"20240101", false}},
        {14, {"4", false}},        {15, {"20240301", false}},
        {16, {"20240331", false}}, {17, {"Buchungen 01.03.-31.03.2024", true}},
        {18, {"WD", true}},        {19, {"1", false}},
        {20, {"0", false}},        {21, {"0", false}},
        {22, {"EUR", true}},       {24, {"", true}},
        {27, {"03", true}},        {30, {"", true}},
        {31, {"", true}},
    };
    for (int no = 1; no <= 31; ++no) {
        const auto it = expected.find(no);
        const auto want =
            it != expected.end() ? it->second : std::pair<std::string, bool>{"", false};
        EXPECT_EQ(h[no - 1].text, want.first) << "header field " << no;
        EXPECT_EQ(h[no - 1].quoted, want.second) << "header field " << no;
    }
}

TEST_F(DatevCsvGolden, HeadingLineHasThe125HeadingsInWindows1252) {
    const auto records = ParseCsv(bytes);
    ASSERT_GE(records.size(), 2u);
    ASSERT_EQ(records[1].size(), 125u);
    for (int i = 0; i < 125; ++i) {
        EXPECT_FALSE(records[1][i].quoted);
        EXPECT_EQ(Cp1252ToUtf8(records[1][i].text), csv::kColumnHeadings[i]) << "column " << i + 1;
    }
    EXPECT_EQ(records[1][43].text, "Funktionserg\xE4nzung L+L");
    EXPECT_EQ(records[1][87].text,
              "St\xFC"
              "ck");
    EXPECT_EQ(records[1][113].text, "Festschreibung");
}

TEST_F(DatevCsvGolden, EveryColumnOfEveryBookingLine) {
    const auto records = ParseCsv(bytes);
    ASSERT_EQ(records.size(), 6u);
    using Columns = std::map<int, std::string>;  // column -> text; all others empty
    const Columns line17 = {{1, "1234,56"},
                            {2, "S"},
                            {3, "EUR"},
                            {7, "1200"},
                            {8, "8400"},
                            {10, "0503"},
                            {11, "R-1"},
                            {14, "(R-1)M\xFCller GmbH,Rechnung"},
                            {21, "Buchungsnummer"},
                            {22, "17"},
                            {114, "0"}};
    const Columns line18 = {{1, "19,00"},
                            {2, "H"},
                            {3, "EUR"},
                            {7, "4400"},
                            {8, "1200"},
                            {9, "9"},
                            {10, "0603"},
                            {11, "18"},
                            {14, "()Say \"Hi\"; ok,Tab here  x"},
                            {21, "Buchungsnummer"},
                            {22, "18"},
                            {114, "0"}};
    const Columns line20 = {{1, "0,01"},
                            {2, "S"},
                            {3, "DEM"},
                            {7, "10000"},
                            {8, "99999"},
                            {9, "40"},
                            {10, "3103"},
                            {11, "0123456789"},
                            {14, "(0123456789)Name mit genau vierzig Zeichen .........,Zweck m"},
                            {21, "Buchungsnummer"},
                            {22, "20"},
                            {23, "Buchungstext"},
                            {24,
                             "(0123456789)Name mit genau vierzig Zeichen .........,Zweck mit "
                             "genau vierzig Zeichen ........"},
                            {114, "0"}};
    const Columns line16 = {{1, "12345678,90"}, {2, "S"},           {3, "EUR"},
                            {7, "1000"},        {8, "1200"},        {10, "0103"},
                            {11, "K7"},         {14, "(K7)Kasse,"}, {21, "Buchungsnummer"},
                            {22, "16"},         {114, "0"}};
    const Columns* lines[] = {&line17, &line18, &line20, &line16};
    const std::set<int> quoted = {2, 3, 9, 11, 14, 21, 22, 23, 24};
    for (int k = 0; k < 4; ++k) {
        const test::CsvRecord& r = records[2 + k];
        ASSERT_EQ(r.size(), 125u) << "booking line " << k;
        for (int col = 1; col <= 125; ++col) {
            const auto it = lines[k]->find(col);
            const std::string want = it != lines[k]->end() ? it->second : "";
            EXPECT_EQ(r[col - 1].text, want) << "line " << k << " column " << col;
            EXPECT_EQ(r[col - 1].quoted, !want.empty() && quoted.count(col) > 0)
                << "line " << k << " column " << col;
        }
    }
    EXPECT_EQ(records[4][13].text.size(), 60u);
}

}  // namespace
}  // namespace belvaron
