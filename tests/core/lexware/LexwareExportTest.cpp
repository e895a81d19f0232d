#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "FakeUi.h"
#include "FileSizeLimit.h"
#include "NoticeTexts.h"
#include "Portable.h"
#include "StoreSupport.h"
#include "TempDir.h"
#include "WorkflowTestAccess.h"
#include "core/base/FixedText.h"
#include "core/bookings/BookingOperations.h"
#include "core/bookings/BookingStore.h"
#include "core/bookings/JournalImport.h"
#include "core/lexware/LexwareExport.h"
#include "core/lexware/LexwareMessages.h"
#include "core/lexware/LexwareYears.h"
#include "core/workflow/Workflow.h"

namespace belvaron {
namespace {

using test::Append;
using test::FakeUi;
using test::ReadFile;
using test::TempDir;

const std::string kData = std::string(BELVARON_TEST_DATA) + "/lexware/";

BookingRecord MeierRent() {
    BookingRecord b{};
    b.bookingNo = 17;
    SetField(b.date, "15.01.2013");
    SetField(b.beleg, "R-1");
    SetField(b.name, "Meier");
    SetField(b.purpose, "Miete");
    SetField(b.amount, "500,00");
    b.sollAccount = 4210;
    b.habenAccount = 1200;
    b.vatRate = 0;
    SetField(b.currency, "EUR");
    return b;
}

class LexwareExportTest : public ::testing::Test {
protected:
    FakeUi ui;
    BookingStore store{300000};
    TempDir dir;
};

TEST_F(LexwareExportTest, OneBookingMatchesTheGoldenFile) {
    Append(store, MeierRent());
    const std::string path = dir.File("buchhalter.txt");
    const LexwareExportResult r = ExportLexware(store, path);
    EXPECT_TRUE(r.written);
    EXPECT_EQ(ReadFile(path), ReadFile(kData + "one_booking.txt"));
    EXPECT_EQ(
        r.notices.items(),
        (std::vector<Notice>{{NoticeKind::Information,
                              "Konvertierung erfolgreich!\n1 Buchungen wurden konvertiert."}}));
}

struct LineCase {
    const char* name;
    void (*change)(BookingRecord&);
    std::string line;
};

void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

class LexwareLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(LexwareLineTest, WritesTheFields) {
    BookingRecord b = MeierRent();
    GetParam().change(b);
    std::string out;
    AppendLexwareLine(b, out);
    EXPECT_EQ(out, GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LexwareLineTest,
    ::testing::Values(
        LineCase{
            "empty_texts",
            [](BookingRecord& b) {
                SetField(b.beleg, "");
                SetField(b.name, "");
                SetField(b.purpose, "");
            },
            "15.01.2013|\"\"|\"\"|17|\"Beleg:,,\"|500,00|4210|1200|0|\"\"|\"\"|0|0|\"EUR\"\r\n"},
        LineCase{
            "negative_numbers",
            [](BookingRecord& b) {
                b.sollAccount = -4210;
                b.vatRate = -7;
                b.bookingNo = -1;
            },
            "15.01.2013|\"\"|\"\"|-1|\"Beleg:R-1,Meier,Miete\"|500,00|-4210|1200|-7|\"\"|\"\"|0|"
            "0|\"EUR\"\r\n"},
        // Full fields have no terminator: exactly their width is written.
        LineCase{"full_fields",
                 [](BookingRecord& b) {
                     std::memcpy(b.beleg, "0123456789", 10);
                     std::memset(b.amount, '9', 30);
                 },
                 "15.01.2013|\"\"|\"\"|17|\"Beleg:0123456789,Meier,Miete\"|" +
                     std::string(30, '9') + "|4210|1200|0|\"\"|\"\"|0|0|\"EUR\"\r\n"},
        // Windows-1252 bytes go out as they are; a bar, a quote and a
        // control byte would break the record and are replaced.
        LineCase{"record_safe_bytes",
                 [](BookingRecord& b) {
                     SetField(b.name, "M\xFCller \"A|B\"");
                     SetField(b.purpose, "\r\nMie\tte\x7F");
                     SetField(b.currency, "DM");
                 },
                 "15.01.2013|\"\"|\"\"|17|\"Beleg:R-1,M\xFCller 'A/B',  Mie te \"|500,00|4210|1200|"
                 "0|\"\"|\"\"|0|0|\"DM\"\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// Every byte value, alone, doubled and at the ends of a text: kept, or
// replaced as the record needs.
TEST(LexwareLine, EveryByteValueOfATextIsKeptOrReplaced) {
    for (int value = 1; value < 256; ++value) {
        const char c = static_cast<char>(value);
        const char safe = c == '|'                          ? '/'
                          : c == '"'                        ? '\''
                          : (value < 0x20 || value == 0x7F) ? ' '
                                                            : c;
        BookingRecord b = MeierRent();
        SetField(b.name, std::string{c, 'a', c, c, 'z', c});
        std::string out;
        AppendLexwareLine(b, out);
        const std::string want = std::string{safe, 'a', safe, safe, 'z', safe};
        EXPECT_NE(out.find("\"Beleg:R-1," + want + ",Miete\""), std::string::npos) << value;
    }
}

// Two years of 5000 bookings each. Cancelled while the second year's file is
// written (the first one complete but not yet in place), every old file stays
// and nothing is shown; not cancelled, the ticks count the bookings of both
// files and the files are those of a run without progress.
TEST_F(LexwareExportTest, CancelledExportLeavesEveryOldFile) {
    for (int i = 0; i < 10000; ++i) {
        BookingRecord b = MeierRent();
        SetField(b.date, i < 5000 ? "15.01.2013" : "15.01.2014");
        Append(store, b);
    }
    const std::string path = dir.File("buchhalter.txt");
    const std::string y2013 = dir.Write("buchhalter_2013.txt", "old 2013");
    const std::string y2014 = dir.Write("buchhalter_2014.txt", "old 2014");
    int ticks = 0;
    const Progress cancel{[&](int64_t done, int64_t total) {
        EXPECT_EQ(total, 10000);
        EXPECT_EQ(done, ++ticks * 4096);
        return done < 8192;
    }};
    const LexwareExportResult cancelled = ExportLexware(store, path, &cancel);
    EXPECT_FALSE(cancelled.written);
    EXPECT_TRUE(cancelled.cancelled);
    EXPECT_EQ(ticks, 2);
    EXPECT_TRUE(cancelled.notices.empty());
    EXPECT_EQ(ReadFile(y2013), "old 2013");
    EXPECT_EQ(ReadFile(y2014), "old 2014");
    EXPECT_FALSE(std::filesystem::exists(path));
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++files;
    EXPECT_EQ(files, 2u);

    const Progress goOn{[](int64_t, int64_t) { return true; }};
    ASSERT_TRUE(ExportLexware(store, path, &goOn).written);
    const std::string withProgress = ReadFile(y2014);
    ASSERT_TRUE(ExportLexware(store, path).written);
    EXPECT_EQ(ReadFile(y2014), withProgress);
    EXPECT_NE(withProgress, "old 2014");
}

TEST_F(LexwareExportTest, ExistingFileIsReplaced) {
    const std::string path = dir.Write("buchhalter.txt", std::string(100000, 'o'));
    Append(store, MeierRent());
    ASSERT_TRUE(ExportLexware(store, path).written);
    EXPECT_EQ(ReadFile(path), ReadFile(kData + "one_booking.txt"));
}

TEST_F(LexwareExportTest, ManyBookingsAreWrittenInFull) {
    const int n = 250000;  // several chunks
    for (int i = 0; i < n; ++i) {
        BookingRecord b = MeierRent();
        b.bookingNo = i;
        Append(store, b);
    }
    const std::string path = dir.File("big.txt");
    const LexwareExportResult r = ExportLexware(store, path);
    ASSERT_TRUE(r.written);
    std::string expected = LexwareHeaderLine();
    for (int i = 0; i < n; ++i) AppendLexwareLine(store[i], expected);
    EXPECT_EQ(ReadFile(path), expected);
    EXPECT_EQ(test::Texts(r.notices),
              std::vector<std::string>{
                  "Konvertierung erfolgreich!\n250000 Buchungen wurden konvertiert."});
}

TEST_F(LexwareExportTest, NoBookingsGivesE209AndNoFile) {
    const std::string path = dir.File("buchhalter.txt");
    const LexwareExportResult r = ExportLexware(store, path);
    EXPECT_FALSE(r.written);
    EXPECT_EQ(r.notices.items(),
              (std::vector<Notice>{
                  {NoticeKind::Plain, "(E:209)\nKeine Datensätze zum eportieren vorhanden!"}}));
    EXPECT_FALSE(std::filesystem::exists(path));
}

class LexwareOpenFailureTest : public LexwareExportTest,
                               public ::testing::WithParamInterface<std::string> {};

TEST_P(LexwareOpenFailureTest, GivesE210) {
    Append(store, MeierRent());
    const std::string path = GetParam().empty() ? "" : dir.path() + GetParam();
    const LexwareExportResult r = ExportLexware(store, path);
    EXPECT_FALSE(r.written);
    EXPECT_EQ(test::Texts(r.notices),
              std::vector<std::string>{"(E:210)\n" + path +
                                       " - Ausgabedatei konnte nicht geöffnet werden!"});
}

INSTANTIATE_TEST_SUITE_P(Paths, LexwareOpenFailureTest,
                         ::testing::Values("", "/vanished/buchhalter.txt", "/"));

// Only a regular file or a new name is replaced: a device or a FIFO given
// as the output is refused and stays what it was.
TEST_F(LexwareExportTest, DeviceOrFifoTargetIsRefusedAndKept) {
    BELVARON_POSIX_ONLY("FIFOs and device files");
    Append(store, MeierRent());
    const std::string fifo = dir.File("pipe");
    ASSERT_TRUE(test::MakeFifo(fifo));
    for (const std::string& path : {std::string("/dev/null"), fifo}) {
        const LexwareExportResult r = ExportLexware(store, path);
        EXPECT_FALSE(r.written);
        EXPECT_EQ(test::Texts(r.notices),
                  std::vector<std::string>{"(E:210)\n" + path +
                                           " - Ausgabedatei konnte nicht geöffnet werden!"});
    }
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
}

// A write that fails part-way (here: the file size limit) is reported with
// the path and the reason; the old file stays and no success is shown.
TEST_F(LexwareExportTest, WriteFailureKeepsTheOldFile) {
    BELVARON_POSIX_ONLY("a file-size limit");
    const std::string path = dir.Write("buchhalter.txt", "old");
    for (int i = 0; i < 20000; ++i) Append(store, MeierRent());
    LexwareExportResult r;
    {
        test::FileSizeLimit limit(4096);
        r = ExportLexware(store, path);
    }

    EXPECT_FALSE(r.written);
    EXPECT_EQ(ReadFile(path), "old");
    EXPECT_EQ(r.notices.items(),
              (std::vector<Notice>{
                  {NoticeKind::Plain,
                   "(E:210)\n" + path +
                       " - Ausgabedatei konnte nicht geschrieben werden!\n"
                       "Grund: Die Datei wird zu groß für den Datenträger.\n"
                       "Eine bereits vorhandene Datei dieses Namens ist unverändert geblieben. "
                       "Bitte prüfen Sie Speicherplatz und Schreibrechte und exportieren Sie "
                       "erneut."}}));
}

TEST_F(LexwareExportTest, ExampleJournalMatchesTheGoldenFile) {
    ImportGrid grid;
    ASSERT_TRUE(LoadJournal(store, grid, std::string(BELVARON_SOURCE_DIR) + "/examples/journal.txt",
                            Currency::Euro)
                    .loaded);
    SortByDate(store);
    const std::string path = dir.File("buchhalter.txt");
    ASSERT_TRUE(ExportLexware(store, path).written);
    EXPECT_EQ(ReadFile(path), ReadFile(kData + "example_journal_buchhalter.txt"));
}

// Splits a file the way an importer does: records at CR LF, fields at '|',
// a field in double quotes has its quotes removed.
std::vector<std::vector<std::string>> SplitRecords(const std::string& bytes) {
    std::vector<std::vector<std::string>> records;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t end = bytes.find("\r\n", pos);
        if (end == std::string::npos) end = bytes.size();
        std::vector<std::string> fields;
        std::size_t start = pos;
        while (true) {
            const std::size_t bar = bytes.find('|', start);
            const std::size_t stop = bar < end ? bar : end;
            std::string f = bytes.substr(start, stop - start);
            if (f.size() >= 2 && f.front() == '"' && f.back() == '"') f = f.substr(1, f.size() - 2);
            fields.push_back(f);
            if (stop == end) break;
            start = stop + 1;
        }
        records.push_back(fields);
        pos = end + 2;
    }
    return records;
}

TEST_F(LexwareExportTest, TextsWithBarsQuotesAndLineBreaksReadBackAsFourteenFields) {
    BookingRecord b = MeierRent();
    SetField(b.beleg, "R|7");
    SetField(b.name, "\"Meier|Sohn\"");
    SetField(b.purpose, "Miete\r\nJan|Feb");
    Append(store, b);
    Append(store, MeierRent());
    const std::string path = dir.File("buchhalter.txt");
    ASSERT_TRUE(ExportLexware(store, path).written);
    const auto records = SplitRecords(ReadFile(path));
    ASSERT_EQ(records.size(), 3u);
    for (const auto& r : records) EXPECT_EQ(r.size(), 14u);
    EXPECT_EQ(records[1][4], "Beleg:R/7,'Meier/Sohn',Miete  Jan/Feb");
    EXPECT_EQ(records[1][5], "500,00");
    EXPECT_EQ(records[2][4], "Beleg:R-1,Meier,Miete");
}

TEST_F(LexwareExportTest, TwoYearsGiveOneFilePerYearBesideTheChosenName) {
    BookingRecord b = MeierRent();
    b.bookingNo = 1;
    SetField(b.date, "30.12.2024");
    Append(store, b);
    b.bookingNo = 2;
    SetField(b.date, "02.01.2025");
    Append(store, b);
    b.bookingNo = 3;
    SetField(b.date, "31.12.2024");
    Append(store, b);
    const std::string path = dir.File("buchhalter.txt");
    const LexwareExportResult r = ExportLexware(store, path);
    ASSERT_TRUE(r.written);
    const std::string y2024 = dir.File("buchhalter_2024.txt");
    const std::string y2025 = dir.File("buchhalter_2025.txt");
    EXPECT_FALSE(std::filesystem::exists(path));
    std::string first = LexwareHeaderLine(), second = LexwareHeaderLine();
    AppendLexwareLine(store[0], first);
    AppendLexwareLine(store[2], first);
    AppendLexwareLine(store[1], second);
    EXPECT_EQ(ReadFile(y2024), first);
    EXPECT_EQ(ReadFile(y2025), second);
    EXPECT_EQ(r.notices.items(),
              (std::vector<Notice>{
                  {NoticeKind::Information,
                   "Konvertierung erfolgreich!\n3 Buchungen wurden konvertiert.\nDatei: " + y2024 +
                       " (2 Buchungen)\nDatei: " + y2025 + " (1 Buchungen)"}}));
    EXPECT_EQ(LexwareFilePaths(store, path), (std::vector<std::string>{y2024, y2025}));
}

// Every year's file is written before any replaces an old one.
TEST_F(LexwareExportTest, AYearFileThatCannotBeWrittenLeavesEveryOldFile) {
    BELVARON_POSIX_ONLY("a file-size limit");
    const std::string y2024 = dir.Write("buchhalter_2024.txt", "old");
    const std::string y2025 = dir.Write("buchhalter_2025.txt", "old");
    BookingRecord b = MeierRent();
    SetField(b.date, "30.12.2024");
    Append(store, b);
    SetField(b.date, "02.01.2025");
    for (int i = 0; i < 20000; ++i) Append(store, b);
    LexwareExportResult r;
    {
        test::FileSizeLimit limit(4096);
        r = ExportLexware(store, dir.File("buchhalter.txt"));
    }
    EXPECT_FALSE(r.written);
    EXPECT_EQ(ReadFile(y2024), "old");
    EXPECT_EQ(ReadFile(y2025), "old");
    const std::vector<std::string> texts = test::Texts(r.notices);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].rfind("(E:210)\n" + y2025 + " - Ausgabedatei konnte nicht geschrieben", 0),
              0u);
}

TEST(LexwareYearPath, IsStemUnderscoreYearExtension) {
    EXPECT_EQ(LexwareYearPath("/a/buchhalter.txt", 2024), "/a/buchhalter_2024.txt");
    EXPECT_EQ(LexwareYearPath("/a.b/export", 2025), "/a.b/export_2025");
    EXPECT_EQ(LexwareYearPath("x.tar.txt", 7), "x.tar_0007.txt");
}

// One year, or none, is the chosen file itself.
TEST(LexwareFilePaths, OfOneYearIsTheChosenFile) {
    BookingStore store{4};
    EXPECT_EQ(LexwareFilePaths(store, "/a/b.txt"), std::vector<std::string>{"/a/b.txt"});
    BookingRecord b = MeierRent();
    Append(store, b);
    SetField(b.date, "31.12.2013");
    Append(store, b);
    EXPECT_EQ(LexwareFilePaths(store, "/a/b.txt"), std::vector<std::string>{"/a/b.txt"});
}

// ---- The handlers ------------------------------------------------------------

class LexwareHandlerTest : public ::testing::Test {
protected:
    FakeUi ui;
    Workflow flow{ui};
    TempDir dir;
};

TEST_F(LexwareHandlerTest, WithoutJournalRefusesWithE104) {
    Append(WorkflowTestAccess::Store(flow), MeierRent());
    flow.OnLexwareTargetEdited(dir.File("b.txt"));
    EXPECT_FALSE(flow.OnExportLexware());
    EXPECT_EQ(ui.Last().text, "(E:104)\nBitte laden sie zuerst eine Journal-Datei (Punkt 3).");
    EXPECT_FALSE(std::filesystem::exists(flow.lexwareTargetPath()));
}

// An existing target is replaced only when the user says so.
TEST_F(LexwareHandlerTest, ExistingTargetAsksFirst) {
    Append(WorkflowTestAccess::Store(flow), MeierRent());
    WorkflowTestAccess::Store(flow).journalLoaded = 1;
    dir.Write("b.txt", "earlier");
    flow.OnLexwareTargetEdited(dir.File("b.txt"));
    EXPECT_FALSE(flow.OnExportLexware());
    EXPECT_EQ(ui.questions, std::vector<QuestionId>{QuestionId::OverwriteExport});
    EXPECT_EQ(ui.Last().text, "Diese Dateien gibt es schon und werden ersetzt:\n" +
                                  dir.File("b.txt") + "\n\nTrotzdem exportieren?");
    EXPECT_EQ(test::ReadFile(dir.File("b.txt")), "earlier");
    ui.answers.push_back(MessageAnswer::Yes);
    EXPECT_TRUE(flow.OnExportLexware());
    EXPECT_NE(test::ReadFile(dir.File("b.txt")), "earlier");
}

// Bookings of several years are written to one file per year, never to
// the chosen path: the question names the year files that exist, and only
// those.
TEST_F(LexwareHandlerTest, SeveralYearsAskAboutTheYearFilesThatExist) {
    BookingRecord b = MeierRent();
    Append(WorkflowTestAccess::Store(flow), b);
    SetField(b.date, "02.01.2014");
    Append(WorkflowTestAccess::Store(flow), b);
    WorkflowTestAccess::Store(flow).journalLoaded = 1;
    const std::string chosen = dir.Write("b.txt", "earlier");
    const std::string y2013 = dir.File("b_2013.txt");
    const std::string y2014 = dir.Write("b_2014.txt", "earlier 2014");
    flow.OnLexwareTargetEdited(chosen);

    EXPECT_FALSE(flow.OnExportLexware());
    EXPECT_EQ(ui.questions, std::vector<QuestionId>{QuestionId::OverwriteExport});
    EXPECT_EQ(ui.Last().text, "Diese Dateien gibt es schon und werden ersetzt:\n" + y2014 +
                                  "\n\nTrotzdem exportieren?");
    EXPECT_FALSE(std::filesystem::exists(y2013));
    EXPECT_EQ(ReadFile(y2014), "earlier 2014");

    ui.answers.push_back(MessageAnswer::Yes);
    EXPECT_TRUE(flow.OnExportLexware());
    EXPECT_TRUE(ui.Last().text.starts_with("Konvertierung erfolgreich!\n2 Buchungen"))
        << ui.Last().text;
    EXPECT_TRUE(std::filesystem::exists(y2013));
    EXPECT_NE(ReadFile(y2014), "earlier 2014");
    EXPECT_EQ(ReadFile(chosen), "earlier");

    // Both year files exist now; the chosen path is still not named.
    EXPECT_FALSE(flow.OnExportLexware());
    EXPECT_EQ(ui.Last().text, "Diese Dateien gibt es schon und werden ersetzt:\n" + y2013 + "\n" +
                                  y2014 + "\n\nTrotzdem exportieren?");
    EXPECT_EQ(ui.questions.size(), 3u);
}

TEST_F(LexwareHandlerTest, ReportsTheExportsOutcome) {
    Append(WorkflowTestAccess::Store(flow), MeierRent());
    WorkflowTestAccess::Store(flow).journalLoaded = 1;
    flow.OnLexwareTargetEdited(dir.File("b.txt"));
    EXPECT_TRUE(flow.OnExportLexware());
    flow.OnLexwareTargetEdited("");
    EXPECT_FALSE(flow.OnExportLexware());
    EXPECT_EQ(ui.Last().text, "(E:210)\n - Ausgabedatei konnte nicht geöffnet werden!");
}

TEST_F(LexwareHandlerTest, SelectAsksWithTheCurrentNameAndTakesTheChoice) {
    flow.OnLexwareTargetEdited("/data/buchhalter.txt");
    ui.files.push_back("/other/out.txt");
    flow.OnSelectLexwareFile();
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    const FileDialogRequest& r = ui.fileRequests[0];
    EXPECT_EQ(r.filter, msg::kLexwareFilter);
    EXPECT_TRUE(r.saveAs);
    EXPECT_EQ(r.defaultExtension, "txt");
    EXPECT_EQ(r.initialName, "/data/buchhalter.txt");
    EXPECT_EQ(r.filter, "TXT-Files (*.txt)|*.txt|ALL-Files (*.*)|*.*|");
    EXPECT_TRUE(r.overwritePrompt);
    EXPECT_TRUE(r.pathMustExist);
    EXPECT_EQ(flow.lexwareTargetPath(), "/other/out.txt");
    EXPECT_EQ(ui.refreshes, 1);

    flow.OnSelectLexwareFile();  // cancelled
    EXPECT_EQ(flow.lexwareTargetPath(), "/other/out.txt");
    EXPECT_EQ(ui.refreshes, 2);
}

}  // namespace
}  // namespace belvaron
