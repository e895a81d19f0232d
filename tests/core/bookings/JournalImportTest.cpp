#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "NoticeTexts.h"
#include "Portable.h"
#include "TempDir.h"
#include "core/base/CodePage.h"
#include "core/base/FixedText.h"
#include "core/base/Format.h"
#include "core/base/TextInputMessages.h"
#include "core/bookings/BookingStore.h"
#include "core/bookings/JournalImport.h"

namespace belvaron {
namespace {

using test::TempDir;

const std::string kData = std::string(BELVARON_TEST_DATA) + "/bookings/";
const std::string kHeader =
    "\tBuchungs-Nr.\tDatum\tBeleg-Nr.\tName\tVerw.-Zweck\tKonto\tSplitt\tMwSt-Satz\tSoll\tHaben";

// One booking as "no|date|beleg|name|purpose|soll|haben|vat|amount|currency",
// texts in UTF-8.
std::string Describe(const BookingRecord& b) {
    auto t = [](std::string_view s) { return Cp1252ToUtf8(s); };
    return Format("%d|%s|%s|%s|%s|%d|%d|%d|%s|%s", b.bookingNo, t(FieldText(b.date)).c_str(),
                  t(FieldText(b.beleg)).c_str(), t(FieldText(b.name)).c_str(),
                  t(FieldText(b.purpose)).c_str(), b.sollAccount, b.habenAccount, b.vatRate,
                  t(FieldText(b.amount)).c_str(), t(FieldText(b.currency)).c_str());
}

std::vector<std::string> Bookings(const BookingStore& store) {
    std::vector<std::string> out;
    for (int32_t i = 0; i < store.bookingCount; ++i) out.push_back(Describe(store[i]));
    return out;
}

// A data row of the usual layout (column 0 empty, ten columns after it).
std::string Row(const std::string& no, const std::string& account, const std::string& split,
                const std::string& debit, const std::string& credit) {
    return "\t" + no + "\t01.02.2005\t\t\tText\t" + account + "\t" + split + "\t\t" + debit + "\t" +
           credit + "\r\n";
}

const std::string kTotal = Row("", "", "", "1,00", "1,00");

class JournalImportTest : public ::testing::Test {
protected:
    // The load's messages as the workflow shows them, added to `shown`: the
    // summary follows a load that succeeded. 1 when loaded, else 0.
    int Load(const std::string& path, int currency = 0) {
        const JournalOutcome outcome =
            LoadJournal(store, grid, path, currency == 0 ? Currency::Euro : Currency::DM);
        shown.Append(outcome.notices);
        if (outcome.loaded) shown.Append(JournalSummary(outcome));
        result = outcome.loaded ? 1 : 0;
        return result;
    }
    const Notice& Last() const { return shown.items().back(); }
    std::string LastText() const { return shown.empty() ? "" : Last().text; }
    bool SawSuccess() const {
        for (const Notice& n : shown.items()) {
            if (n.kind == NoticeKind::Information) return true;
        }
        return false;
    }
    std::string GridCell(int row, int column) const { return grid.Cell(row, column); }

    Notices shown;
    BookingStore store{2000};
    ImportGrid grid;
    TempDir dir;
    int result = -1;
};

// ---- Fixtures: file -> bookings and the one message ------------------------

struct FileCase {
    const char* file;
    int currency;
    int result;
    std::vector<std::string> bookings;
    std::string message;  // "{path}" stands for the file's path
    NoticeKind kind;
};

void PrintTo(const FileCase& c, std::ostream* os) { *os << c.file << " currency " << c.currency; }

class JournalFileTest : public JournalImportTest, public ::testing::WithParamInterface<FileCase> {};

TEST_P(JournalFileTest, LoadsTheBookingsAndReports) {
    const FileCase& c = GetParam();
    const std::string path = kData + c.file;
    EXPECT_EQ(Load(path, c.currency), c.result);
    EXPECT_EQ(Bookings(store), c.bookings);
    EXPECT_EQ(store.journalLoaded, c.result);
    ASSERT_EQ(shown.items().size(), 1u);
    std::string expected = c.message;
    if (auto at = expected.find("{path}"); at != std::string::npos) expected.replace(at, 6, path);
    EXPECT_EQ(Last().text, expected);
    EXPECT_EQ(Last().kind, c.kind);
}

const std::string kE203Head =
    "(E:203)\nIn der Quickbooks-Journal-Datei fehlen folgende Spalten:\n\n";
const std::string kE203Tail = "\n\nBitte erstellen Sie eine neue korrekte Journal-Datei.";
const std::string kSplitFirst1 = "17|03.01.2005|R-17|Müller|Erlöse|1200|8400|16|100,00|EUR";
const std::string kSplitFirst2 = "17|03.01.2005|R-17|Müller|Umsatzsteuer|1200|1776|16|19,00|EUR";
constexpr auto kInfo = NoticeKind::Information;
constexpr auto kPlain = NoticeKind::Plain;

INSTANTIATE_TEST_SUITE_P(
    Fixtures, JournalFileTest,
    ::testing::Values(
        FileCase{"journal_split_first.txt",
                 0,
                 1,
                 {kSplitFirst1, kSplitFirst2},
                 "2 Buchungen wurden geladen.",
                 kInfo},
        FileCase{"journal_split_first.txt",
                 1,
                 1,
                 {"17|03.01.2005|R-17|Müller|Erlöse|1200|8400|16|100,00|DM",
                  "17|03.01.2005|R-17|Müller|Umsatzsteuer|1200|1776|16|19,00|DM"},
                 "2 Buchungen wurden geladen.",
                 kInfo},
        // The split line last: the same bookings, in the order of the lines.
        FileCase{"journal_split_last.txt",
                 0,
                 1,
                 {kSplitFirst2, kSplitFirst1},
                 "2 Buchungen wurden geladen.",
                 kInfo},
        FileCase{"journal_alternative_titles.txt",
                 0,
                 1,
                 {"5|01.02.2005|K-5|Post|Porto|4910|1000|0|57,00|EUR"},
                 "1 Buchungen wurden geladen.",
                 kInfo},
        FileCase{"journal_without_beleg_and_name.txt",
                 0,
                 1,
                 {"5|01.02.2005|||Porto|4910|1000|0|57,00|EUR"},
                 "1 Buchungen wurden geladen.",
                 kInfo},
        FileCase{"journal_kontonummer_before_konto.txt",
                 0,
                 1,
                 {"5|01.02.2005|||Porto|4910|1000|0|57,00|EUR"},
                 "1 Buchungen wurden geladen.",
                 kInfo},
        // "0,00" (and "0,001") and an empty amount make nothing; "0,0" and "0" do.
        FileCase{"journal_zero_amounts.txt",
                 0,
                 1,
                 {"8|05.03.2006|||b|1200|4001|0|0,0|EUR", "8|05.03.2006|||c|1200|4002|0|0|EUR"},
                 "2 Buchungen wurden geladen.",
                 kInfo},
        FileCase{"journal_booking_number_below_one.txt",
                 0,
                 1,
                 {"4|05.03.2006|||vier|4910|1000|0|4,00|EUR"},
                 "1 Buchungen wurden geladen.",
                 kInfo},
        FileCase{"journal_account_without_number.txt",
                 0,
                 1,
                 {"15|28.01.2025|KA-02|Café|Bewirtung|0|1000|0|45,60|EUR",
                  "15|28.01.2025|KA-02|Café|Bewirtung|0|0|0|1,00|EUR",
                  "16|29.01.2025|KA-03|Post|Porto|4910|1000|0|5,00|EUR"},
                 "(E:217) ACHTUNG:\nEs wurden 3 Buchungen mit Konto 0 gezählt. Dies ist ein "
                 "unzulässiges Konto.\nÜberprüfen Sie, ob Sie in Quickbooks 'Kontonummern "
                 "verwenden' aktiviert haben.\nDie fehlerhaften Datensätze werden im Fenster "
                 "markiert dargestellt.\n\n3 Buchungen wurden geladen.",
                 kPlain},
        FileCase{"journal_ends_after_account_line.txt",
                 0,
                 1,
                 {kSplitFirst1, kSplitFirst2},
                 "2 Buchungen wurden geladen.",
                 kInfo},
        // No line break and no total line after the last account line: the
        // collected lines are converted all the same.
        FileCase{"journal_ends_without_line_break.txt",
                 0,
                 1,
                 {kSplitFirst1, kSplitFirst2},
                 "2 Buchungen wurden geladen.",
                 kInfo},
        FileCase{"journal_blank_lines_lf.txt",
                 0,
                 1,
                 {"5|01.02.2005|K-5|Post|Porto|4910|1000|0|57,00|EUR",
                  "6|02.02.2005|K-5|Post|Porto|4910|1000|0|57,00|EUR"},
                 "2 Buchungen wurden geladen.",
                 kInfo},
        // The first booking's account line lacks its last cell and swallows
        // the next line; that booking then has a single line and makes nothing.
        FileCase{"journal_fewer_tabs.txt",
                 0,
                 1,
                 {"6|02.02.2005|||Porto|4910|1000|0|8,00|EUR"},
                 "1 Buchungen wurden geladen.",
                 kInfo},
        FileCase{"journal_header_only.txt",
                 0,
                 0,
                 {},
                 "(E:218)\n{path} - In der Journal-Datei wurden keine Buchungen gefunden.\n"
                 "Bitte erstellen Sie eine neue Journal-Datei, die Buchungen enthält.",
                 kPlain},
        FileCase{"journal_missing_soll_and_haben.txt",
                 0,
                 0,
                 {},
                 kE203Head + " 'Soll', 'Haben'," + kE203Tail,
                 kPlain},
        FileCase{"journal_other_format.txt",
                 0,
                 0,
                 {},
                 kE203Head +
                     " 'Buchungs-Nr.', 'Datum', 'Konto', 'Splitt', 'Soll', 'Haben', 'MwSt-Satz',"
                     " 'Verw.-Zweck'," +
                     kE203Tail,
                 kPlain},
        FileCase{"no_such_journal.txt",
                 0,
                 0,
                 {},
                 "(E:202)\n{path} - Eingabedatei konnte nicht geöffnet werden!",
                 kPlain}));

TEST_F(JournalImportTest, ExampleJournalLoads) {
    EXPECT_EQ(Load(std::string(BELVARON_SOURCE_DIR) + "/examples/journal.txt"), 1);
    EXPECT_EQ(store.bookingCount, 44);
    EXPECT_EQ(Describe(store[0]),
              "1|02.01.2025|RE-25-001|Müller Bürotechnik GmbH|Wartungsvertrag Januar|1400|8400|19|"
              "1.000,00|EUR");
    EXPECT_NE(LastText().find("(E:217) ACHTUNG:\nEs wurden 1 Buchungen mit Konto 0"),
              std::string::npos);
}

TEST_F(JournalImportTest, ShortDatesAreNormalised) {
    const std::string path =
        dir.Write("j.txt", kHeader + "\r\n\t3\t3.11.'07\t\t\tT\t4910\t1000\t\t1,00\t\r\n" +
                               "\t\t\t\t\tT\t1000\t4910\t\t\t1,00\r\n" + kTotal);
    ASSERT_EQ(Load(path), 1);
    EXPECT_EQ(FieldText(store[0].date), "03.11.2007");
}

TEST_F(JournalImportTest, SplitMarkInTheAccountColumnChoosesTheFirstLine) {
    const std::string path =
        dir.Write("j.txt", kHeader + "\r\n" + Row("9", "1200 Bank", "8400", "5,00", "") +
                               Row("", "-SPLITTEN-", "1776", "", "9,00") + kTotal);
    ASSERT_EQ(Load(path), 1);
    EXPECT_EQ(Bookings(store),
              std::vector<std::string>{"9|01.02.2005|||Text|1200|8400|0|5,00|EUR"});
}

TEST_F(JournalImportTest, ReloadStartsFromAnEmptyStore) {
    ASSERT_EQ(Load(kData + "journal_split_first.txt"), 1);
    EXPECT_EQ(Load(kData + "no_such_journal.txt"), 0);
    EXPECT_EQ(store.bookingCount, 0);
    EXPECT_EQ(store.journalLoaded, 0);
}

// Bookings of three lines over several chunks of the reader's buffer, with
// lines of every length, so that some booking's lines stand in two chunks:
// each booking keeps the cells of its own lines.
TEST_F(JournalImportTest, BookingsAcrossTheReadersChunksKeepTheirCells) {
    std::string journal = kHeader + "\r\n";
    std::vector<std::string> expected;
    for (int no = 1; no <= 1500; ++no) {
        const std::string purpose = "P" + std::to_string(no) + std::string(no % 90, 'p');
        const std::string amount = std::to_string(no) + ",00";
        journal += "\t" + std::to_string(no) + "\t01.02.2005\tB" + std::to_string(no) + "\tN\t" +
                   purpose + "\t1200\t-SPLITTEN-\t\t" + amount + "\t\r\n" + "\t\t\t\t\t" + purpose +
                   "\t4000\t1200\t\t\t" + amount + "\r\n" + kTotal;
        expected.push_back(Format("%d|01.02.2005|B%d|N|%s|1200|4000|0|%s|EUR", no, no,
                                  purpose.substr(0, 40).c_str(), amount.c_str()));
    }
    ASSERT_GT(journal.size(), std::size_t{3} * 64 * 1024);
    ASSERT_EQ(Load(dir.Write("j.txt", journal)), 1);
    const std::vector<std::string> loaded = Bookings(store);
    ASSERT_EQ(loaded.size(), expected.size());
    for (std::size_t i = 0; i < loaded.size(); ++i) ASSERT_EQ(loaded[i], expected[i]) << i;
}

// ---- Progress and cancel ------------------------------------------------------

std::string ManyBookings(int count) {
    std::string s = kHeader + "\r\n";
    for (int no = 1; no <= count; ++no) {
        s += Row(std::to_string(no), "1200", "-SPLITTEN-", "1,00", "") +
             Row("", "4000", "1200", "", "1,00") + kTotal;
    }
    return s;
}

TEST_F(JournalImportTest, ProgressTicksInBytesOfTheFileAndChangesNothing) {
    const std::string path = dir.Write("j.txt", ManyBookings(1900));
    std::vector<std::pair<int64_t, int64_t>> ticks;
    const Progress progress{[&](int64_t done, int64_t total) {
        ticks.emplace_back(done, total);
        return true;
    }};
    const JournalOutcome outcome = LoadJournal(store, grid, path, Currency::Euro, &progress);
    EXPECT_TRUE(outcome.loaded);
    EXPECT_FALSE(outcome.cancelled);
    EXPECT_EQ(outcome.bookingCount, 1900);
    ASSERT_FALSE(ticks.empty());
    const auto size = static_cast<int64_t>(std::filesystem::file_size(path));
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        EXPECT_EQ(ticks[i].second, size);
        EXPECT_GT(ticks[i].first, 0);
        EXPECT_LE(ticks[i].first, size);
        if (i > 0) {
            EXPECT_GE(ticks[i].first, ticks[i - 1].first);
        }
    }
}

TEST_F(JournalImportTest, CancelledLoadLeavesAnEmptyStoreAndShowsNothing) {
    ASSERT_EQ(Load(kData + "journal_split_first.txt"), 1);
    const std::string path = dir.Write("j.txt", ManyBookings(1900));
    const Progress cancel{[](int64_t, int64_t) { return false; }};
    const JournalOutcome outcome = LoadJournal(store, grid, path, Currency::Euro, &cancel);
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_FALSE(outcome.loaded);
    EXPECT_EQ(store.bookingCount, 0);
    EXPECT_FALSE(store.journalLoaded);
    EXPECT_TRUE(outcome.notices.empty());
    // The same file loads in full afterwards.
    EXPECT_EQ(Load(path), 1);
    EXPECT_EQ(store.bookingCount, 1900);
}

// ---- Limits of the work area -------------------------------------------------

std::string BookingWithAccountLines(int no, int lines) {
    std::string s = Row(std::to_string(no), "1200", "-SPLITTEN-", "1,00", "");
    for (int i = 1; i < lines; ++i) s += Row("", "4000", "1200", "", "1,00");
    return s + kTotal;
}

TEST_F(JournalImportTest, A499LineBookingFits) {
    const std::string path = dir.Write("j.txt", kHeader + "\r\n" + BookingWithAccountLines(1, 499));
    EXPECT_EQ(Load(path), 1);
    EXPECT_EQ(store.bookingCount, 498);
}

// A journal beyond the store's capacity is refused as a whole, with the
// limit and what to do; none of its bookings stays to be shown.
TEST_F(JournalImportTest, MoreBookingsThanTheStoreHoldsAreRefused) {
    const std::string path =
        dir.Write("j.txt", kHeader + "\r\n" + BookingWithAccountLines(1, 450) +
                               BookingWithAccountLines(2, 450) + BookingWithAccountLines(3, 450));
    BookingStore small(1234);
    const JournalOutcome outcome = LoadJournal(small, grid, path, Currency::Euro);
    EXPECT_FALSE(outcome.loaded);
    EXPECT_EQ(small.bookingCount, 0);
    EXPECT_FALSE(small.journalLoaded);
    ASSERT_EQ(outcome.notices.items().size(), 1u);
    EXPECT_EQ(outcome.notices.items()[0].text,
              "(E:205)\nDas Journal hat mehr Buchungen, als das Programm fassen kann "
              "(höchstens 1.234).\nEs wurde nicht geladen. Bitte teilen Sie den Zeitraum in "
              "QuickBooks auf und\nerstellen Sie für jeden Teil ein eigenes Journal.");
}

TEST_F(JournalImportTest, A500LineBookingStopsWithE204AndKeepsEarlierBookings) {
    const std::string path = dir.Write("j.txt", kHeader + "\r\n" + BookingWithAccountLines(1, 2) +
                                                    BookingWithAccountLines(2, 500));
    EXPECT_EQ(Load(path), 0);
    EXPECT_EQ(store.bookingCount, 1);
    EXPECT_EQ(store.journalLoaded, 0);
    EXPECT_EQ(LastText(),
              "(E:204)\nBereichsüberschreitung: zuviele Zeilen pro Buchung\nVermutlich liegt ein "
              "Format-Fehler des Buchungs-Journals zugrunde. Bitte gehen sie wie folgt vor:\n1) "
              "Haben Sie den Berichtstyp: 'Berichte->Buchhaltung&Steuern->Journal' verwendet?\n2) "
              "Verwenden Sie beim Erstellen der Datei den Befehl 'Drucken'-> 'TAB getrennte "
              "Datei'? (NICHT ASCII-Datei verwenden!!!)\n3) Sieht der Bericht in etwa so aus, wie "
              "die mitgelieferte Beispieldatei 'Bsp_QB_Journal.txt'?\n4) Versuchen Sie die "
              "'kritische' Buchung zu finden, in dem Sie den Berichtszeitraum immer weiter "
              "verkleinern (Fehler 204 muss natürlich immer wieder erscheinen). Ist an dieser "
              "Buchung etwas auffällig?");
}

TEST_F(JournalImportTest, FullStoreStopsWithE205AndKeepsNoBooking) {
    BookingStore small(1);
    const JournalOutcome outcome =
        LoadJournal(small, grid, kData + "journal_split_first.txt", Currency::Euro);
    EXPECT_FALSE(outcome.loaded);
    EXPECT_EQ(small.bookingCount, 0);
    EXPECT_EQ(small.journalLoaded, 0);
    ASSERT_EQ(outcome.notices.items().size(), 1u);
    EXPECT_TRUE(outcome.notices.items()[0].text.starts_with(
        "(E:205)\nDas Journal hat mehr Buchungen, als das Programm fassen kann (höchstens 1)."));
}

// A cell keeps 254 characters; the character after them is dropped and the
// rest is read as the following cell.
TEST_F(JournalImportTest, OverlongCellSpillsIntoTheNextCell) {
    const std::string longName = std::string(254, 'N') + "X" + "rest";
    const std::string path =
        dir.Write("j.txt", kHeader + "\r\n\t1\t01.02.2005\tB\t" + longName + "\tPurpose\t4910\r\n");
    Load(path);
    EXPECT_EQ(GridCell(0, 4), std::string(254, 'N'));
    EXPECT_EQ(GridCell(0, 5), "rest");
    EXPECT_EQ(GridCell(0, 6), "Purpose");
}

// An over-long last cell: its rest becomes the next row from its second cell.
TEST_F(JournalImportTest, OverlongLastCellContinuesInTheNextRowsSecondCell) {
    const std::string path =
        dir.Write("j.txt", kHeader + "\r\n\t1\t01.02.2005\t\t\tT\t4910\t1000\t\t\t" +
                               std::string(254, 'H') + "REST\r\n");
    Load(path);
    EXPECT_EQ(GridCell(0, 10), std::string(254, 'H'));
    EXPECT_EQ(GridCell(1, 0), "");
    EXPECT_EQ(GridCell(1, 1), "REST\n");
}

TEST_F(JournalImportTest, OverlongHeaderIsSearchedInIts254Characters) {
    const std::string header = kHeader + "\t" + std::string(254 - kHeader.size() - 1, 'z');
    ASSERT_EQ(header.size(), 254u);
    const std::string path = dir.Write("j.txt", header + "REST\r\n");
    EXPECT_EQ(Load(path), 0);  // all columns found, no bookings
    EXPECT_EQ(LastText().rfind("(E:218)", 0), 0u);
    EXPECT_EQ(GridCell(0, 0), "");
    EXPECT_EQ(GridCell(0, 1), "REST\n");
}

// A header of more than 60 cells: the cells beyond the 60th are read and
// dropped, and titles there are not recognised.
TEST_F(JournalImportTest, HeaderBeyondSixtyCellsIsIgnoredThere) {
    const std::string extra(60, '\t');
    const std::string rowTail = extra;  // data rows have as many cells as the header
    const std::string path = dir.Write(
        "j.txt", kHeader + extra + "\r\n" + "\t5\t01.02.2005\t\t\tT\t4910\t1000\t\t1,00\t" +
                     rowTail + "\r\n\t\t\t\t\tT\t1000\t4910\t\t\t1,00" + rowTail + "\r\n" +
                     "\t\t\t\t\t\t\t\t\t1,00\t1,00" + rowTail + "\r\n");
    EXPECT_EQ(Load(path), 1);
    EXPECT_EQ(Bookings(store), std::vector<std::string>{"5|01.02.2005|||T|4910|1000|0|1,00|EUR"});
}

TEST_F(JournalImportTest, RequiredTitleBeyondSixtyCellsIsMissing) {
    const std::string header =
        "\tBuchungs-Nr.\tDatum\tVerw.-Zweck\tKonto\tSplitt\tMwSt-Satz\tSoll" +
        std::string(58, '\t') + "Haben";
    EXPECT_EQ(Load(dir.Write("j.txt", header + "\r\n")), 0);
    EXPECT_EQ(LastText(), kE203Head + " 'Haben'," + kE203Tail);
}

// ---- Bad input ---------------------------------------------------------------

struct BadCase {
    const char* name;
    std::string bytes;
    const char* messageStart;
};

void PrintTo(const BadCase& c, std::ostream* os) { *os << c.name; }

class BadJournalTest : public JournalImportTest, public ::testing::WithParamInterface<BadCase> {};

TEST_P(BadJournalTest, IsRefusedWithoutSuccess) {
    const std::string path = dir.Write("bad.txt", GetParam().bytes);
    EXPECT_EQ(Load(path), 0);
    EXPECT_EQ(store.journalLoaded, 0);
    EXPECT_FALSE(SawSuccess());
    ASSERT_EQ(shown.items().size(), 1u);
    EXPECT_EQ(LastText().rfind(GetParam().messageStart, 0), 0u) << LastText();
}

std::string Binary() {
    std::string s;
    for (int i = 0; i < 5000; ++i) s += static_cast<char>((i * 37) % 256);
    return s;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadJournalTest,
    ::testing::Values(BadCase{"empty", "", "(E:213)\n"}, BadCase{"binary", Binary(), "(E:213)\n"},
                      BadCase{"utf16_without_mark", std::string("\t\0B\0u\0", 6), "(E:213)\n"},
                      BadCase{"zero_byte_in_a_row",
                              kHeader + "\r\n\t1\t01.02.2005\t\t\tT\t4910" + std::string(1, '\0') +
                                  "\t1000\t\t1,00\t\r\n" + kTotal,
                              "(E:215#"},
                      BadCase{"long_line_only", std::string(4 << 20, 'x'), "(E:203)\n"},
                      BadCase{"long_line_after_header",
                              kHeader + "\r\n" + std::string(4 << 20, 'x'), "(E:204)\n"},
                      BadCase{"long_lines_of_tabs", kHeader + "\r\n" + std::string(4 << 20, '\t'),
                              "(E:218)\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(JournalImportTest, TenThousandCharacterCellsNeverCrash) {
    const std::string big(10000, 'x');
    const std::string path = dir.Write(
        "j.txt", kHeader + "\r\n\t1\t01.02.2005\t" + big + "\t" + big + "\t" + big +
                     "\t4910\t1000\t\t1,00\t\r\n\t\t\t\t\tT\t1000\t4910\t\t\t1,00\r\n" + kTotal);
    Load(path);
    // The spilled text lands in the account cells: the lines it makes have
    // account 0 and are reported and marked, never loaded silently.
    ASSERT_FALSE(shown.empty());
    EXPECT_FALSE(SawSuccess()) << LastText();
    EXPECT_EQ(LastText().rfind("(E:217) ACHTUNG:", 0), 0u);
}

// ---- Encodings ----------------------------------------------------------------

// The journal of one booking for "Müller Bürotechnik", in Windows-1252.
std::string MuellerJournal() {
    return kHeader + "\r\n\t1\t01.02.2005\t\tM\xFCller B\xFCrotechnik\tT" +
           "\t4910\t1000\t\t1,00\t\r\n\t\t\t\t\tT\t1000\t4910\t\t\t1,00\r\n" + kTotal;
}

// The same in UTF-8, with `extra` (UTF-8) after the name.
std::string MuellerUtf8(const std::string& extra = "") {
    std::string text = Cp1252ToUtf8(MuellerJournal());
    return text.insert(text.find("rotechnik") + 9, extra);
}

std::string Utf16Le(const std::string& utf8) {
    std::string out = "\xFF\xFE";
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        char32_t cp = b;
        int extra = b < 0x80 ? 0 : b < 0xE0 ? 1 : b < 0xF0 ? 2 : 3;
        if (extra) cp = b & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) cp = cp << 6 | (utf8[i + k] & 0x3F);
        i += extra + 1;
        if (cp >= 0x10000) {
            const char32_t v = cp - 0x10000;
            for (const char32_t unit : {0xD800 + (v >> 10), 0xDC00 + (v & 0x3FF)}) {
                out += static_cast<char>(unit & 0xFF);
                out += static_cast<char>(unit >> 8);
            }
            continue;
        }
        out += static_cast<char>(cp & 0xFF);
        out += static_cast<char>(cp >> 8);
    }
    return out;
}

struct EncodingCase {
    const char* name;
    std::string bytes;
    int unmappable;       // characters replaced by '?', announced in a message
    const char* nameEnd;  // after "Bürotechnik"
};

void PrintTo(const EncodingCase& c, std::ostream* os) { *os << c.name; }

class JournalEncodingTest : public JournalImportTest,
                            public ::testing::WithParamInterface<EncodingCase> {};

// Whatever the encoding, the booking's texts arrive as Windows-1252.
TEST_P(JournalEncodingTest, IsReadAsWindows1252) {
    const EncodingCase& c = GetParam();
    ASSERT_EQ(Load(dir.Write("journal.txt", c.bytes)), 1) << LastText();
    ASSERT_EQ(store.bookingCount, 1);
    EXPECT_EQ(Bookings(store),
              std::vector<std::string>{
                  Format("1|01.02.2005||Müller Bürotechnik%s|T|4910|1000|0|1,00|EUR", c.nameEnd)});
    const std::vector<std::string> texts = test::Texts(shown);
    const bool notice = !texts.empty() && texts[0].find("umgewandelt") != std::string::npos;
    EXPECT_EQ(notice, c.unmappable > 0);
    if (c.unmappable > 0) {
        EXPECT_NE(texts[0].find(Format("\n%d Zeichen ohne Entsprechung", c.unmappable)),
                  std::string::npos)
            << texts[0];
    }
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, JournalEncodingTest,
    ::testing::Values(EncodingCase{"Windows1252", MuellerJournal(), 0, ""},
                      EncodingCase{"Utf8", MuellerUtf8(), 0, ""},
                      EncodingCase{"Utf8WithMark", "\xEF\xBB\xBF" + MuellerUtf8(), 0, ""},
                      EncodingCase{"Utf16WithMark", Utf16Le(MuellerUtf8()), 0, ""},
                      EncodingCase{"Utf8WithoutEquivalent",
                                   MuellerUtf8(" \xE2\x86\x92 \xF0\x9F\x99\x82"), 2, " ? ?"},
                      EncodingCase{"Utf16WithoutEquivalent",
                                   Utf16Le(MuellerUtf8(" \xE2\x86\x92 \xF0\x9F\x99\x82")), 2,
                                   " ? ?"}),
    [](const auto& info) { return std::string(info.param.name); });

// The conversion is announced first; the error met after it follows.
TEST_F(JournalImportTest, ConversionNoticeComesBeforeTheError) {
    const std::string path =
        dir.Write("journal.txt", "\xEF\xBB\xBF\tBuchungs-Nr. \xE2\x86\x92\r\n");
    EXPECT_EQ(Load(path), 0);
    const std::vector<std::string> texts = test::Texts(shown);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], Format(msg::kTextConverted, path.c_str(), msg::kEncodingUtf8, 1));
    EXPECT_TRUE(texts[1].starts_with("(E:203)\n")) << texts[1];
}

TEST_F(JournalImportTest, FifoOrDeviceIsRefusedWithoutWaiting) {
    BELVARON_POSIX_ONLY("FIFOs and device files");
    const std::string fifo = dir.File("journal.txt");
    ASSERT_TRUE(test::MakeFifo(fifo));
    for (const std::string& path : {fifo, std::string("/dev/zero")}) {
        shown = Notices{};
        EXPECT_EQ(Load(path), 0);
        EXPECT_EQ(test::Texts(shown),
                  std::vector<std::string>{Format(
                      "(E:202)\n%s - Eingabedatei konnte nicht geöffnet werden!", path.c_str())});
    }
}

}  // namespace
}  // namespace belvaron
