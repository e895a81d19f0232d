#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "NoticeTexts.h"
#include "Portable.h"
#include "TempDir.h"
#include "VatTestSupport.h"
#include "core/base/DataFiles.h"
#include "core/base/FixedText.h"
#include "core/base/Format.h"
#include "core/base/LeadingInt.h"
#include "core/bookings/BookingStore.h"
#include "core/vat/VatMessages.h"

namespace belvaron {
namespace {

using test::AppendBooking;
using test::AppendRow;
using test::MakeBooking;
using test::MakeRow;
using test::ReadFile;

constexpr int kVat = 1775;

class VatRedateTest : public ::testing::Test {
protected:
    VatRedateTest() { logFolder = dir.path(); }
    std::string LogPath() const { return dir.File("error_mwst.log"); }
    std::string Log() const { return ReadFile(LogPath()); }
    std::string Date(int i) { return std::string(FieldText(store[i].date)); }
    std::string Amount(int i) { return std::string(FieldText(store[i].amount)); }

    test::TempDir dir;
    Notices shown;
    BookingStore store{100};
    VatRows rows{100};
    std::string logFolder;
};

TEST_F(VatRedateTest, OnePaymentRedatesTheBooking) {
    AppendBooking(store, MakeBooking(17, "10.01.2013", 1400, kVat, "19,00", "R-17"));
    AppendRow(rows, MakeRow(17, "15.02.2013", kVat, "19,00"));
    EXPECT_TRUE(test::Redate(store, rows, logFolder, shown));
    EXPECT_EQ(Date(0), "15.02.2013");
    EXPECT_EQ(Amount(0), "19,00");
    EXPECT_EQ(store[0].redated, 1);
    ASSERT_EQ(shown.items().size(), 1u);
    EXPECT_EQ(test::Last(shown).text,
              "Bei 1 MwSt-Buchungen wurde das Datum geändert (IST-Besteuerung).");
    EXPECT_EQ(test::Last(shown).kind, NoticeKind::Information);
    EXPECT_TRUE(FileExists(LogPath()));
    EXPECT_EQ(Log(), "");
}

TEST_F(VatRedateTest, FurtherPaymentsAppendCopiesOfTheFirstBooking) {
    AppendBooking(store, MakeBooking(17, "10.01.2013", 1400, kVat, "19,00", "R-17"));
    AppendBooking(store, MakeBooking(17, "10.01.2013", 1400, 8400, "100,00", "R-17"));
    AppendRow(rows, MakeRow(17, "15.02.2013", kVat, "9,50"));
    AppendRow(rows, MakeRow(17, "15.03.2013", kVat, "9,50"));
    AppendRow(rows, MakeRow(17, "15.04.2013", kVat, "0,00"));
    EXPECT_TRUE(test::Redate(store, rows, logFolder, shown));
    ASSERT_EQ(store.bookingCount, 4);
    EXPECT_EQ(Date(0), "15.02.2013");
    EXPECT_EQ(Amount(0), "9,50");
    EXPECT_EQ(store[1].habenAccount, 8400);  // not a candidate: untouched
    EXPECT_EQ(store[1].redated, 0);
    EXPECT_EQ(Amount(1), "100,00");
    for (int i : {2, 3}) {
        BookingRecord expected = store[0];
        std::memcpy(expected.date, rows[i - 1].date, 20);
        std::memcpy(expected.amount, rows[i - 1].amount, 30);
        EXPECT_TRUE(test::SameBytes(store[i], expected)) << "copy " << i;
    }
    EXPECT_EQ(test::Last(shown).text,
              "Bei 3 MwSt-Buchungen wurde das Datum geändert (IST-Besteuerung).");
}

// With two VAT bookings of one number, rows take them in store order, and a
// further payment copies the last of them.
TEST_F(VatRedateTest, FurtherPaymentCopiesTheLastCandidate) {
    AppendBooking(store, MakeBooking(8, "02.01.2013", 1400, kVat, "19,00", "A"));
    AppendBooking(store, MakeBooking(8, "02.01.2013", kVat, 1400, "7,00", "B"));
    AppendRow(rows, MakeRow(8, "10.01.2013", kVat, "19,00"));
    AppendRow(rows, MakeRow(8, "11.01.2013", kVat, "7,00"));
    AppendRow(rows, MakeRow(8, "12.01.2013", kVat, "1,00"));
    EXPECT_TRUE(test::Redate(store, rows, logFolder, shown));
    ASSERT_EQ(store.bookingCount, 3);
    EXPECT_EQ(Date(0), "10.01.2013");
    EXPECT_EQ(Date(1), "11.01.2013");
    EXPECT_EQ(FieldText(store[2].beleg), "B");
    EXPECT_EQ(store[2].sollAccount, kVat);
    EXPECT_EQ(Date(2), "12.01.2013");
}

TEST_F(VatRedateTest, BookingsAlreadyRedatedAreSkipped) {
    BookingRecord first = MakeBooking(8, "02.01.2013", 1400, kVat, "1,00", "A");
    first.redated = 1;
    AppendBooking(store, first);
    AppendBooking(store, MakeBooking(8, "02.01.2013", 1400, kVat, "2,00", "B"));
    AppendRow(rows, MakeRow(8, "10.01.2013", kVat, "5,00"));
    EXPECT_TRUE(test::Redate(store, rows, logFolder, shown));
    EXPECT_EQ(store.bookingCount, 2);
    EXPECT_EQ(Amount(0), "1,00");
    EXPECT_EQ(Amount(1), "5,00");
}

TEST_F(VatRedateTest, RowsWithoutJournalBookingGiveE230) {
    AppendBooking(store, MakeBooking(17, "10.01.2013", 1400, kVat, "19,00"));
    AppendBooking(store, MakeBooking(18, "10.01.2013", 1400, 8400, "100,00"));  // no VAT booking
    AppendRow(rows, MakeRow(17, "15.02.2013", kVat, "19,00"));
    AppendRow(rows, MakeRow(18, "16.02.2013", kVat, "7,00"));
    AppendRow(rows, MakeRow(99, "17.02.2013", kVat, "-3"));
    AppendRow(rows, MakeRow(98, "18.02.2013", kVat, "0,00"));            // passed over
    AppendRow(rows, MakeRow(97, "19.02.2013", kVat, "0,50"));            // a payment, not 0
    AppendRow(rows, MakeRow(96, "20.02.2013", kVat, " -0.000,00 EUR"));  // passed over
    AppendRow(rows, MakeRow(95, "21.02.2013", kVat, ""));                // passed over
    EXPECT_TRUE(test::Redate(store, rows, logFolder, shown));
    ASSERT_EQ(shown.items().size(), 1u);
    EXPECT_EQ(test::Last(shown).text,
              "(E:230) ACHTUNG:\nBei 1 MwSt-Buchungen wurde das Datum geändert (IST-Besteuerung).\n"
              "Bei 3 MwSt-Buchungen konnte die Original-Buchung nicht gefunden werden:\n"
              "Buchungs-Nummern: 18,99,97,\nErweitern Sie bitte den Datums-Bereich des Journals.\n"
              "(Siehe auch Datei " +
                  logFolder + test::kSep + "error_mwst.log)");
    EXPECT_EQ(test::Last(shown).kind, NoticeKind::Plain);
    EXPECT_EQ(Log(),
              "MwSt-IST-Abgleich: Keine Journal-Buchung gefunden: Nr:18 MwSt-Datum:16.02.2013\r\n"
              "MwSt-IST-Abgleich: Keine Journal-Buchung gefunden: Nr:99 MwSt-Datum:17.02.2013\r\n"
              "MwSt-IST-Abgleich: Keine Journal-Buchung gefunden: Nr:97 MwSt-Datum:19.02.2013\r\n");
}

TEST_F(VatRedateTest, UnpaidVatBookingsAreZeroedAndListed) {
    AppendBooking(store, MakeBooking(17, "10.01.2013", 1400, kVat, "19,00", "R-17"));
    AppendBooking(store, MakeBooking(22, "11.01.2013", 1400, kVat, "1.237,50", "R-22"));
    AppendBooking(store, MakeBooking(22, "11.01.2013", 1400, 8400, "1.250,00", "R-22"));
    AppendBooking(store, MakeBooking(24, "12.01.2013", kVat, 1600, "7,98", "ER-6001"));
    AppendRow(rows, MakeRow(17, "15.02.2013", kVat, "19,00"));
    EXPECT_TRUE(test::Redate(store, rows, logFolder, shown));
    ASSERT_EQ(shown.items().size(), 2u);
    EXPECT_EQ(shown.items()[0].kind, NoticeKind::Information);
    EXPECT_EQ(test::Last(shown).text,
              "(E:231) ACHTUNG:\nBei 2 Journal-Buchungen wurde keine MwSt-Buchung gefunden.\n"
              "Buchungs-Nummern: 22,24,\n"
              "Die Beträge wurden auf 0,00 gesetzt (evt.noch nicht bezahlte Rechnungen).\n"
              "Erweitern Sie sonst den Datums-Bereich des MwSt-Berichts.\n"
              "(Siehe auch Datei " +
                  logFolder + test::kSep + "error_mwst.log)");
    const char zero[30] = "0,00";
    EXPECT_EQ(std::memcmp(store[1].amount, zero, 30), 0);
    EXPECT_EQ(std::memcmp(store[3].amount, zero, 30), 0);
    EXPECT_EQ(Amount(2), "1.250,00");
    EXPECT_EQ(Date(1), "11.01.2013");
    EXPECT_EQ(store[1].redated, 0);
    EXPECT_EQ(Log(),
              "MwSt-IST-Abgleich: Keine MwSt-Buchung gefunden: Nr:22 Journal-Datum:11.01.2013 "
              "Beleg:R-22\r\n"
              "MwSt-IST-Abgleich: Keine MwSt-Buchung gefunden: Nr:24 Journal-Datum:12.01.2013 "
              "Beleg:ER-6001\r\n");
}

// Both layouts, in their order, with Windows-1252 bytes and a document
// number that fills its field.
TEST_F(VatRedateTest, LogFileByteForByte) {
    BookingRecord b = MakeBooking(4, "06.01.2025", 1400, 2200, "85,50");
    std::memcpy(b.beleg,
                "RE-2025-\xDC"
                "2",
                10);
    AppendBooking(store, b);
    AppendBooking(store, MakeBooking(5, "07.01.2025", 1400, 2200, "1,00", "B\xE4r"));
    AppendBooking(store, MakeBooking(6, "08.01.2025", 1400, 2200, "2,00", "C"));
    AppendRow(rows, MakeRow(31, "20.03.2025", 2200, "12,00"));
    AppendRow(rows, MakeRow(6, "21.03.2025", 2200, "2,00"));
    AppendRow(rows, MakeRow(32, "22.03.2025", 2200, "13,00"));
    EXPECT_TRUE(test::Redate(store, rows, logFolder, shown));
    EXPECT_EQ(Log(), ReadFile(BELVARON_TEST_DATA "/vat/error_mwst_expected.log"));
}

TEST_F(VatRedateTest, DifferentAccountsGiveE227AndChangeNothing) {
    AppendBooking(store, MakeBooking(17, "10.01.2013", 1400, kVat, "19,00"));
    AppendBooking(store, MakeBooking(22, "11.01.2013", 1400, kVat, "7,00"));
    const BookingRecord before0 = store[0];
    const BookingRecord before1 = store[1];
    dir.Write("error_mwst.log", "old content\r\n");
    AppendRow(rows, MakeRow(17, "15.02.2013", kVat, "19,00"));
    AppendRow(rows, MakeRow(22, "16.02.2013", 1776, "7,00"));
    AppendRow(rows, MakeRow(23, "17.02.2013", 1777, "7,00"));
    EXPECT_FALSE(test::Redate(store, rows, logFolder, shown));
    ASSERT_EQ(shown.items().size(), 1u);
    EXPECT_EQ(test::Last(shown).text,
              "(E:227)\nFehler: Unterschiedliche MwSt-Konten, Buchungsnr:22\n"
              "Vermutlich ist in Quickbooks SOLL-Besteuerung aktiviert!");
    EXPECT_EQ(store.bookingCount, 2);
    EXPECT_TRUE(test::SameBytes(store[0], before0));
    EXPECT_TRUE(test::SameBytes(store[1], before1));
    EXPECT_EQ(Log(), "");
}

// A report without a single VAT row may be the wrong report: said so, and
// the step fails.
TEST_F(VatRedateTest, NoRowsIsReportedAndChangesNothing) {
    AppendBooking(store, MakeBooking(17, "10.01.2013", 1400, kVat, "19,00"));
    dir.Write("error_mwst.log", "old\r\n");
    EXPECT_FALSE(test::Redate(store, rows, logFolder, shown));
    EXPECT_EQ(test::Texts(shown), std::vector<std::string>{msg::kE232});
    EXPECT_EQ(Amount(0), "19,00");
    EXPECT_EQ(Log(), "old\r\n");
}

TEST(VatRedateFullTest, FullStoreGivesE228AndStopsBeforeTheSummary) {
    test::TempDir dir;
    Notices shown;
    BookingStore store{2};
    VatRows rows{10};
    const std::string logFolder = dir.path();
    AppendBooking(store, MakeBooking(17, "10.01.2013", 1400, kVat, "19,00"));
    AppendBooking(store, MakeBooking(18, "10.01.2013", 1400, kVat, "7,00"));
    AppendRow(rows, MakeRow(99, "14.02.2013", kVat, "5,00"));
    AppendRow(rows, MakeRow(17, "15.02.2013", kVat, "9,50"));
    AppendRow(rows, MakeRow(17, "15.03.2013", kVat, "9,50"));
    EXPECT_FALSE(test::Redate(store, rows, logFolder, shown));
    ASSERT_EQ(shown.items().size(), 1u);
    EXPECT_EQ(test::Last(shown).text, "(E:228)\nEs konnte nicht genug Speicher allokiert werden");
    EXPECT_EQ(store.bookingCount, 2);
    EXPECT_EQ(store[0].redated, 1);
    EXPECT_EQ(std::string(FieldText(store[1].amount)), "7,00");  // not zeroed
    EXPECT_EQ(ReadFile(dir.File("error_mwst.log")),
              "MwSt-IST-Abgleich: Keine Journal-Buchung gefunden: Nr:99 MwSt-Datum:14.02.2013\r\n");
}

// The run goes on, and the log that could not be written is reported after
// the messages that point to it.
TEST_F(VatRedateTest, RunGoesOnWithoutALogFileAndReportsIt) {
    const std::string blocker = dir.Write("datei", "x");
    logFolder = blocker + test::kSep + "sub";  // cannot be created
    AppendBooking(store, MakeBooking(17, "10.01.2013", 1400, kVat, "19,00"));
    AppendBooking(store, MakeBooking(18, "10.01.2013", 1400, kVat, "19,00"));
    AppendRow(rows, MakeRow(17, "15.02.2013", kVat, "19,00"));
    EXPECT_TRUE(test::Redate(store, rows, logFolder, shown));
    EXPECT_EQ(store[0].redated, 1);
    EXPECT_EQ(Amount(1), "0,00");
    ASSERT_EQ(shown.items().size(), 3u);
    EXPECT_TRUE(shown.items()[1].text.starts_with("(E:231)"));
    EXPECT_EQ(test::Last(shown).text,
              Format(msg::kE234, (logFolder + test::kSep + "error_mwst.log").c_str(),
                     "Ordner nicht gefunden"));
}

// The numbers 1 .. n, each followed by ','.
std::string NumbersUpTo(int n) {
    std::string list;
    for (int i = 1; i <= n; ++i) list += std::to_string(i) + ",";
    return list;
}

// E:230 and E:231 list at most 50 booking numbers; the rest are counted and
// the log named by its full path holds them all.
struct ListCase {
    int count;
    std::string list;  // the text after "Buchungs-Nummern: "
};

// A log path that is already absolute and normal on this system.
#ifdef _WIN32
const std::string kAnnasLog = "C:\\Users\\anna\\Dokumente\\Belvaron\\error_mwst.log";
#else
const std::string kAnnasLog = "/home/anna/Dokumente/Belvaron/error_mwst.log";
#endif

class VatMessageLists : public ::testing::TestWithParam<ListCase> {};

TEST_P(VatMessageLists, ShowAtMostFiftyNumbers) {
    const ListCase& c = GetParam();
    VatRedateOutcome outcome;
    outcome.complete = true;
    outcome.redated = 7;
    outcome.logPath = kAnnasLog;
    for (int i = 1; i <= c.count; ++i) {
        outcome.missingNumbers.push_back(i);
        outcome.zeroedNumbers.push_back(i);
    }
    outcome.missing = outcome.zeroed = c.count;
    const Notices shown = VatRedateSummary(outcome);
    ASSERT_EQ(shown.items().size(), 2u);
    const std::string count = std::to_string(c.count);
    EXPECT_EQ(shown.items()[0].text,
              "(E:230) ACHTUNG:\nBei 7 MwSt-Buchungen wurde das Datum geändert "
              "(IST-Besteuerung).\nBei " +
                  count +
                  " MwSt-Buchungen konnte die Original-Buchung nicht gefunden werden:\n"
                  "Buchungs-Nummern: " +
                  c.list +
                  "\nErweitern Sie bitte den Datums-Bereich des Journals.\n"
                  "(Siehe auch Datei " +
                  kAnnasLog + ")");
    EXPECT_EQ(shown.items()[1].text,
              "(E:231) ACHTUNG:\nBei " + count +
                  " Journal-Buchungen wurde keine MwSt-Buchung gefunden.\n"
                  "Buchungs-Nummern: " +
                  c.list +
                  "\nDie Beträge wurden auf 0,00 gesetzt (evt.noch nicht bezahlte Rechnungen).\n"
                  "Erweitern Sie sonst den Datums-Bereich des MwSt-Berichts.\n"
                  "(Siehe auch Datei " +
                  kAnnasLog + ")");
}

INSTANTIATE_TEST_SUITE_P(
    Counts, VatMessageLists,
    ::testing::Values(ListCase{1, "1,"}, ListCase{49, NumbersUpTo(49)},
                      ListCase{50, NumbersUpTo(50)},
                      ListCase{51, NumbersUpTo(50) + " … und 1 weitere (vollständige Liste in " +
                                       kAnnasLog + ")"},
                      ListCase{100000, NumbersUpTo(50) +
                                           " … und 99.950 weitere (vollständige Liste in " +
                                           kAnnasLog + ")"}),
    [](const ::testing::TestParamInfo<ListCase>& info) {
        return std::to_string(info.param.count);
    });

// A run with more rows than the list shows: the log holds every number, the
// message the first 50 and the log's full path, also when the data folder
// was given relative to the working folder.
TEST_F(VatRedateTest, LongListPointsToTheCompleteLogByItsFullPath) {
    AppendBooking(store, MakeBooking(1, "10.01.2013", 1400, kVat, "19,00"));
    AppendRow(rows, MakeRow(1, "15.02.2013", kVat, "19,00"));
    for (int no = 1001; no <= 1060; ++no) AppendRow(rows, MakeRow(no, "16.02.2013", kVat, "1,00"));
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    const bool ran = test::Redate(store, rows, ".", shown);
    std::filesystem::current_path(before);
    ASSERT_TRUE(ran);
    ASSERT_EQ(shown.items().size(), 1u);
    std::string numbers;
    for (int no = 1001; no <= 1050; ++no) numbers += std::to_string(no) + ",";
    EXPECT_NE(test::Last(shown).text.find("Buchungs-Nummern: " + numbers + " … und 10 weitere " +
                                          "(vollständige Liste in " + LogPath() + ")\n"),
              std::string::npos)
        << test::Last(shown).text;
    EXPECT_TRUE(test::Last(shown).text.ends_with("(Siehe auch Datei " + LogPath() + ")"));
    const std::string log = Log();
    EXPECT_NE(log.find("Nr:1060 MwSt-Datum:16.02.2013\r\n"), std::string::npos);
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 60);
}

// When the log could not be written, the message claims no complete list
// there; E:234 follows and says why.
TEST_F(VatRedateTest, LongListWithoutALogClaimsNoCompleteList) {
    const std::string blocker = dir.Write("datei", "x");
    logFolder = blocker + test::kSep + "sub";
    AppendBooking(store, MakeBooking(1, "10.01.2013", 1400, kVat, "19,00"));
    AppendRow(rows, MakeRow(1, "15.02.2013", kVat, "19,00"));
    for (int no = 1001; no <= 1051; ++no) AppendRow(rows, MakeRow(no, "16.02.2013", kVat, "1,00"));
    EXPECT_TRUE(test::Redate(store, rows, logFolder, shown));
    ASSERT_EQ(shown.items().size(), 2u);
    EXPECT_NE(shown.items()[0].text.find("1050, … und 1 weitere\n"), std::string::npos);
    EXPECT_EQ(shown.items()[0].text.find("vollständige Liste"), std::string::npos);
    EXPECT_TRUE(shown.items()[1].text.starts_with("(E:234)"));
}

}  // namespace
}  // namespace belvaron

namespace belvaron {
namespace {

// The VAT bookings of the example journal: each journal booking with a line
// on account 2200 gives one, dated on the journal booking's date.
void AppendExampleJournalVatBookings(BookingStore& store) {
    std::ifstream in(BELVARON_SOURCE_DIR "/examples/journal.txt", std::ios::binary);
    std::string line, date;
    int number = 0;
    while (std::getline(in, line)) {
        std::vector<std::string> cells;
        std::size_t start = 0;
        for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos;
             start = tab + 1) {
            cells.push_back(line.substr(start, tab - start));
        }
        cells.push_back(line.substr(start));
        if (cells.size() < 8) continue;
        if (!cells[1].empty()) {
            number = LeadingInt(cells[1]);
            date = cells[2];
        }
        if (cells[6].starts_with("2200") && cells.size() > 10) {
            const int counter = LeadingInt(cells[7]);
            const bool debit = !cells[9].empty();
            AppendBooking(store, MakeBooking(number, date.c_str(), debit ? 2200 : counter,
                                             debit ? counter : 2200, "1,00"));
        }
    }
}

TEST(VatExampleTest, ExampleReportMatchesTheExampleJournal) {
    test::TempDir dir;
    Notices shown;
    BookingStore store{100};
    VatRows rows{100};
    const std::string logFolder = dir.path();
    AppendExampleJournalVatBookings(store);
    ASSERT_EQ(store.bookingCount, 14);
    const VatImportOutcome imported =
        ImportVatReport(rows, BELVARON_SOURCE_DIR "/examples/mwst.txt");
    ASSERT_TRUE(imported.read);
    shown.Append(imported.notices);
    EXPECT_TRUE(test::Redate(store, rows, logFolder, shown));
    EXPECT_EQ(store.bookingCount, 15);  // the second part payment of booking 4
    ASSERT_EQ(shown.items().size(), 2u);
    EXPECT_EQ(shown.items()[0].text,
              "Bei 14 MwSt-Buchungen wurde das Datum geändert (IST-Besteuerung).");
    EXPECT_TRUE(
        shown.items()[1].text.starts_with("(E:231) ACHTUNG:\nBei 1 Journal-Buchungen wurde keine "
                                          "MwSt-Buchung gefunden.\nBuchungs-Nummern: 27,\n"));
}

}  // namespace
}  // namespace belvaron
