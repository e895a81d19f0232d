#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "DatevRuleCheck.h"
#include "DatevTestSupport.h"
#include "FakeUi.h"
#include "TempDir.h"
#include "WorkflowTestAccess.h"
#include "core/datev/DatevMessages.h"
#include "core/datev/DatevSettingsFile.h"
#include "core/datev/csv/DatevCsv.h"
#include "core/workflow/Workflow.h"

namespace belvaron {
namespace {

using test::AddBooking;
using test::ReadFile;
using test::TempDir;

// A FakeUi whose settings dialog, E:304 warning or first progress tick
// throws once.
class ThrowingUi : public test::FakeUi {
public:
    bool throwInDialog = false;
    bool throwOnWarning = false;
    bool throwAtTick = false;
    std::string dialogFrom;                         // the "vom" date the user types, if any
    std::string dialogTo;                           // the "bis" date the user types, if any
    std::optional<DatevExportFormat> chosenFormat;  // the format the user picks, if any
    std::string proposedFrom, proposedTo;           // the range the dialog opened with
    bool EditDatevSettings(DatevSettings& settings, DatevRange& range,
                           const std::string& chartName) override {
        if (std::exchange(throwInDialog, false)) throw std::runtime_error("dialog");
        proposedFrom = range.from;
        proposedTo = range.to;
        if (!dialogFrom.empty()) range.from = dialogFrom;
        if (!dialogTo.empty()) range.to = dialogTo;
        if (chosenFormat) settings.exportFormat = *chosenFormat;
        return FakeUi::EditDatevSettings(settings, range, chartName);
    }
    MessageAnswer ShowMessage(std::string_view text, MessageIcon icon,
                              MessageButtons buttons) override {
        const MessageAnswer a = FakeUi::ShowMessage(text, icon, buttons);
        if (text.starts_with("(E:304)") && std::exchange(throwOnWarning, false)) {
            throw std::runtime_error("warning");
        }
        return a;
    }
    Progress StepStarted(const std::string& title) override {
        Progress progress = FakeUi::StepStarted(title);
        return Progress{[this, progress](int64_t done, int64_t total) {
            if (std::exchange(throwAtTick, false)) throw std::runtime_error("tick");
            return progress.tick(done, total);
        }};
    }
};

class ExportRunTest : public ::testing::Test {
protected:
    TempDir dir;
    ThrowingUi ui;
    Workflow flow{ui};

    void SetUp() override {
        flow.SetDataFolderOverride(dir.File("data"));
        WorkflowTestAccess::SetProgramFolder(flow, dir.File("program") + "/");
        std::filesystem::create_directories(dir.File("export"));
        flow.OnDatevTargetEdited(dir.File("export/Export.DATEV"));
        // These runs are about the Postversand files, chosen in the dialog;
        // the CSV runs below take the stored format.
        ui.chosenFormat = DatevExportFormat::Postversand;
    }
    void LoadBookings(int n, std::string_view date = "05.03.2005") {
        for (int i = 0; i < n; ++i)
            AddBooking(WorkflowTestAccess::Store(flow), {.bookingNo = i + 1, .date = date});
        WorkflowTestAccess::Store(flow).journalLoaded = 1;
    }
    void WriteSettings(bool extended) {
        DatevSettings s = DefaultDatevSettings();
        s.kontonummernerweiterung = extended ? 1 : 0;
        WriteSettingsFile(s);
    }
    void WriteSettingsFile(const DatevSettings& s) {
        std::filesystem::create_directories(dir.File("data"));
        dir.Write("data/angaben_datev.txt", FormatSettingsFile(s));
    }
    // The settings of a client the CSV check accepts.
    static DatevSettings AcceptedSettings() {
        DatevSettings s = DefaultDatevSettings();
        s.beraternummer = 29098;
        s.mandantennummer = 55003;
        return s;
    }
    // A CSV step into the export folder with the accepted settings.
    DatevExportRequest CsvRequest(DatevRange range) {
        DatevExportRequest request;
        request.folder = dir.File("export");
        request.range = std::move(range);
        request.settings = AcceptedSettings();
        return request;
    }
};

TEST_F(ExportRunTest, WithoutJournalE103AndNothingElse) {
    EXPECT_FALSE(flow.OnDatenExportieren());
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{
                              "(E:103)\nBitte laden sie zuerst eine Journal-Datei (Punkt 3)."});
    EXPECT_FALSE(std::filesystem::exists(dir.File("data/angaben_datev.txt")));
}

TEST_F(ExportRunTest, ExtendedBatchGoesIntoTheFolderOfThePath) {
    LoadBookings(250);
    EXPECT_TRUE(flow.OnDatenExportieren());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.Last().text,
              "DATEV-Export erfolgreich abgeschlossen.\n250 Buchungen wurden exportiert.");
    EXPECT_EQ(ui.Last().icon, MessageIcon::Information);
    EXPECT_EQ(ReadFile(dir.File("export/EV01")).size(), 256u);
    EXPECT_EQ(ReadFile(dir.File("export/ED00001")).size() % 256, 0u);
    EXPECT_FALSE(std::filesystem::exists(dir.File("export/Export.DATEV")));
    EXPECT_EQ(ui.proposedFrom, "05.03.2005");
    // The settings were saved after the dialog, with the format chosen there.
    DatevSettings saved = DefaultDatevSettings();
    saved.exportFormat = DatevExportFormat::Postversand;
    EXPECT_EQ(ReadFile(dir.File("data/angaben_datev.txt")), FormatSettingsFile(saved));
}

TEST_F(ExportRunTest, SettingsThatCannotBeSavedAreReportedOnceTheExportGoesOnAndFails) {
    WriteSettings(true);
    std::filesystem::permissions(dir.File("data/angaben_datev.txt"),
                                 std::filesystem::perms::owner_read |
                                     std::filesystem::perms::group_read |
                                     std::filesystem::perms::others_read);  // read-only
    LoadBookings(3);
    EXPECT_FALSE(flow.OnDatenExportieren());
    const std::vector<std::string> texts = ui.Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_TRUE(texts[0].starts_with("(E:301)\n")) << texts[0];
    EXPECT_TRUE(texts[1].starts_with("DATEV-Export erfolgreich")) << texts[1];
}

TEST_F(ExportRunTest, UnreadableSettingsFileStopsTheExportAndIsKept) {
    std::filesystem::create_directories(
        dir.File("data/angaben_datev.txt"));  // a folder in its place
    LoadBookings(3);
    EXPECT_FALSE(flow.OnDatenExportieren());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.Last().text.starts_with("(E:301)")) << ui.Last().text;
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("data/angaben_datev.txt")));
    EXPECT_TRUE(std::filesystem::is_empty(dir.File("export")));
}

// The window's export replaces an earlier batch only when the user says so.
TEST_F(ExportRunTest, ExistingBatchAsksFirst) {
    LoadBookings(3);
    EXPECT_TRUE(flow.OnDatenExportieren());
    const std::string before = ReadFile(dir.File("export/ED00001"));
    EXPECT_TRUE(ui.questions.empty());
    LoadBookings(2);
    EXPECT_FALSE(flow.OnDatenExportieren());
    EXPECT_EQ(ui.questions, std::vector<QuestionId>{QuestionId::OverwriteExport});
    EXPECT_EQ(ui.Last().text, "Diese Dateien gibt es schon und werden ersetzt:\n" +
                                  dir.File("export/ED00001") + "\n" + dir.File("export/EV01") +
                                  "\n\nTrotzdem exportieren?");
    EXPECT_EQ(ReadFile(dir.File("export/ED00001")), before);
    ui.answers.push_back(MessageAnswer::Yes);
    EXPECT_TRUE(flow.OnDatenExportieren());
    EXPECT_NE(ReadFile(dir.File("export/ED00001")), before);
}

TEST_F(ExportRunTest, OldFormatWritesDe001AndDv01) {
    WriteSettings(false);
    LoadBookings(3);
    EXPECT_TRUE(flow.OnDatenExportieren());
    EXPECT_EQ(ReadFile(dir.File("export/DV01")).size(), 128u);
    EXPECT_EQ(ReadFile(dir.File("export/DE001")).size(), 512u);
    EXPECT_FALSE(std::filesystem::exists(dir.File("export/ED00001")));
}

TEST_F(ExportRunTest, CancelledDialogWritesNothingAndSaysNothing) {
    LoadBookings(3);
    ui.datevDialogAnswers = {false};
    EXPECT_FALSE(flow.OnDatenExportieren());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(std::filesystem::is_empty(dir.File("export")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("data/angaben_datev.txt")));
}

TEST_F(ExportRunTest, MissingFolderEndsWithE117) {
    LoadBookings(3);
    flow.OnDatevTargetEdited(dir.File("gone/ED00001"));
    EXPECT_FALSE(flow.OnDatenExportieren());
    EXPECT_EQ(ui.Texts(),
              (std::vector<std::string>{
                  "(E:302)\n" + dir.File("gone/ED00001") + " konnte nicht geöffnet werden!",
                  "(E:305)\n" + dir.File("gone/EV01") + " konnte nicht geöffnet werden!",
                  "(E:117)\nFehler beim DATEV-Export!\n0 Buchungen wurden exportiert."}));
    EXPECT_EQ(ui.Last().icon, MessageIcon::None);
}

TEST_F(ExportRunTest, NoBookingInTheRangeWritesBothFilesAndEndsWithE117) {
    LoadBookings(1);
    ui.dialogFrom = "06.03.2005";
    EXPECT_FALSE(flow.OnDatenExportieren());
    EXPECT_EQ(ui.Last().text, "(E:117)\nFehler beim DATEV-Export!\n0 Buchungen wurden exportiert.");
    EXPECT_EQ(ReadFile(dir.File("export/ED00001")).size(), 256u);
    EXPECT_EQ(ReadFile(dir.File("export/EV01")).size(), 256u);
}

TEST_F(ExportRunTest, ExceptionInTheDialogIsE111WithTheTracePoint) {
    LoadBookings(1);
    ui.throwInDialog = true;
    EXPECT_FALSE(flow.OnDatenExportieren());
    EXPECT_EQ(ui.Texts(),
              std::vector<std::string>{
                  "(E:111#3015)\nException: Fehler beim Laden/Speichern der Datev-Angaben."});
    EXPECT_TRUE(std::filesystem::is_empty(dir.File("export")));
}

// An exception while the data file is built (at a tick) or while its
// messages are shown is E:112 with the TracePoint of that moment; the run
// ends there and no file is written.
struct DataFileExceptionCase {
    const char* name;
    bool atTick;  // else while E:304 is shown
    std::vector<std::string> texts;
};

class DataFileException : public ExportRunTest,
                          public ::testing::WithParamInterface<DataFileExceptionCase> {};

TEST_P(DataFileException, IsE112AndEndsTheRun) {
    const DataFileExceptionCase& c = GetParam();
    AddBooking(WorkflowTestAccess::Store(flow), {.date = "01.12.2005"});
    LoadBookings(kProgressStride, "31.01.2006");
    ui.dialogTo = "31.01.2006";
    ui.throwAtTick = c.atTick;
    ui.throwOnWarning = !c.atTick;
    EXPECT_FALSE(flow.OnDatenExportieren());
    EXPECT_EQ(ui.Texts(), c.texts);
    EXPECT_TRUE(std::filesystem::is_empty(dir.File("export")));
}

const std::string kE304Over2005 =
    "(E:304)\nEs dürfen nur Buchungen innerhalb eines Jahres exportiert werden!\n"
    "Buchungen sind von: 01.12.2005 bis: 31.01.2006";

INSTANTIATE_TEST_SUITE_P(
    Cases, DataFileException,
    ::testing::Values(
        DataFileExceptionCase{
            "AtATick",
            true,
            {"(E:112#3028)\nException: Fehler beim Erstellen der Datev-Buchungs-Daten."}},
        DataFileExceptionCase{
            "WhileItsWarningIsShown",
            false,
            {kE304Over2005,
             "(E:112#3030)\nException: Fehler beim Erstellen der Datev-Buchungs-Daten."}}),
    [](const auto& info) { return std::string(info.param.name); });

// The warning of a range over two years stands between the settings and
// the success message, as the export meets it.
TEST_F(ExportRunTest, RangeOverTwoYearsWarnsAndTheExportSucceeds) {
    AddBooking(WorkflowTestAccess::Store(flow), {.date = "01.12.2005"});
    LoadBookings(1, "31.01.2006");
    ui.dialogTo = "31.01.2006";
    EXPECT_TRUE(flow.OnDatenExportieren());
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{
                              kE304Over2005,
                              "DATEV-Export erfolgreich abgeschlossen.\n2 Buchungen wurden "
                              "exportiert."}));
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::None);
    EXPECT_EQ(ui.messages[1].icon, MessageIcon::Information);
}

TEST_F(ExportRunTest, StoredCsvFormatWritesTheExtfBatchAndNamesIt) {
    LoadBookings(3);
    DatevSettings s = AcceptedSettings();
    s.exportFormat = DatevExportFormat::Csv;
    WriteSettingsFile(s);
    ui.chosenFormat.reset();
    EXPECT_TRUE(flow.OnDatenExportieren());
    const std::string file = dir.File("export/EXTF_Buchungsstapel_20050305_20050305.csv");
    EXPECT_EQ(ui.Last().text,
              "DATEV-Export erfolgreich abgeschlossen.\n3 Buchungen wurden "
              "exportiert.\nDatei: " +
                  file);
    EXPECT_EQ(ui.Last().icon, MessageIcon::Information);
    test::ExpectDatevRules(file);
    EXPECT_FALSE(std::filesystem::exists(dir.File("export/ED00001")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("export/EV01")));
}

// The CSV run finds the chosen chart where the account check finds it, so a
// DATEV key on an automatic account is warned about.
// The dialog opens with the first booking's fiscal year, never several.
struct ProposalCase {
    const char* name;
    int wjTag, wjMonat;
    std::vector<const char*> dates;  // store order
    const char* from;
    const char* to;
};

class ProposedRange : public ExportRunTest, public ::testing::WithParamInterface<ProposalCase> {};

TEST_P(ProposedRange, IsTheFiscalYearOfTheFirstBooking) {
    const ProposalCase& c = GetParam();
    int no = 0;
    for (const char* date : c.dates)
        AddBooking(WorkflowTestAccess::Store(flow), {.bookingNo = ++no, .date = date});
    WorkflowTestAccess::Store(flow).journalLoaded = 1;
    DatevSettings s = DefaultDatevSettings();
    s.wjBeginnTag = c.wjTag;
    s.wjBeginnMonat = c.wjMonat;
    WriteSettingsFile(s);
    ui.datevDialogAnswers = {false};
    flow.OnDatenExportieren();
    EXPECT_EQ(ui.proposedFrom, c.from);
    EXPECT_EQ(ui.proposedTo, c.to);
}

INSTANTIATE_TEST_SUITE_P(Cases, ProposedRange,
                         ::testing::Values(ProposalCase{"OneYearKeepsTheBookingsRange",
                                                        1,
                                                        1,
                                                        {"05.03.2024", "20.11.2024"},
                                                        "05.03.2024",
                                                        "20.11.2024"},
                                           ProposalCase{"ThreeCalendarYears",
                                                        1,
                                                        1,
                                                        {"05.03.2023", "20.11.2025", "01.01.2024"},
                                                        "05.03.2023",
                                                        "31.12.2023"},
                                           ProposalCase{"FiscalYearFromJuly",
                                                        1,
                                                        7,
                                                        {"15.08.2024", "30.06.2025", "01.07.2025"},
                                                        "15.08.2024",
                                                        "30.06.2025"},
                                           ProposalCase{"FirstBookingBeforeTheFiscalYearStart",
                                                        1,
                                                        7,
                                                        {"30.06.2025", "01.07.2025"},
                                                        "30.06.2025",
                                                        "30.06.2025"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExportRunTest, CsvRunWarnsWithAChartOutsideTheDataFolder) {
    AddBooking(WorkflowTestAccess::Store(flow),
               {.bookingNo = 7, .soll = 8400, .haben = 1200, .key = 9});
    WorkflowTestAccess::Store(flow).journalLoaded = 1;
    WriteSettingsFile(AcceptedSettings());
    dir.Write("charts.kon", "1200, \r\n8400, AM\r\n");
    flow.UseChart(dir.File("charts.kon"));
    ui.chosenFormat.reset();
    EXPECT_TRUE(flow.OnDatenExportieren());
    ASSERT_GE(ui.messages.size(), 2u);
    const std::string& warning = ui.messages[ui.messages.size() - 2].text;
    EXPECT_TRUE(warning.starts_with("(E:314)")) << warning;
    EXPECT_NE(warning.find("8400"), std::string::npos) << warning;
    test::ExpectDatevRules(dir.File("export/EXTF_Buchungsstapel_20050305_20050305.csv"));
}

// The CSV step warns with the chart of its request, not with the window's
// choice.
TEST_F(ExportRunTest, CsvStepTakesTheChartFromItsRequest) {
    AddBooking(WorkflowTestAccess::Store(flow),
               {.bookingNo = 7, .soll = 8400, .haben = 1200, .key = 9});
    WorkflowTestAccess::Store(flow).journalLoaded = 1;
    dir.Write("charts.kon", "1200, \r\n8400, AM\r\n");
    flow.UseChart("");
    DatevExportRequest request = CsvRequest({"01.03.2005", "31.03.2005"});
    request.chart = dir.File("charts.kon");
    EXPECT_TRUE(flow.ExportDatev(request));
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_TRUE(ui.messages[0].text.starts_with("(E:314)\nHinweise zum DATEV-Export"))
        << ui.messages[0].text;
    EXPECT_NE(ui.messages[0].text.find("Automatikkonto 8400"), std::string::npos);
    EXPECT_TRUE(ui.messages[1].text.starts_with("DATEV-Export erfolgreich")) << ui.messages[1].text;
    test::ExpectDatevRules(dir.File("export/EXTF_Buchungsstapel_20050301_20050331.csv"));
}

TEST_F(ExportRunTest, MissingSettingsFileMeansCsvAndItsChecksStopTheRun) {
    LoadBookings(1);
    ui.chosenFormat.reset();
    EXPECT_FALSE(flow.OnDatenExportieren());
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_TRUE(ui.Last().text.starts_with("(E:313)")) << ui.Last().text;
    EXPECT_TRUE(std::filesystem::is_empty(dir.File("export")));
}

// ---- A CSV run in the window asks before it replaces or removes files ------

// The run's batch: the bookings of LoadBookings, 05.03.2005.
std::string BatchName(int part = 1) { return CsvFileName(20050305, 20050305, part); }

struct CsvReplaceCase {
    const char* name;
    std::vector<std::string> existing;  // files in the export folder before the run
    std::vector<std::string> named;     // the files the question names, in order
    MessageAnswer answer;
    std::vector<std::string> after;  // the export folder after the run
};

void PrintTo(const CsvReplaceCase& c, std::ostream* out) { *out << c.name; }

// CSV runs with the settings of a client the check accepts.
class CsvRunTest : public ExportRunTest {
protected:
    void SetUp() override {
        ExportRunTest::SetUp();
        ui.chosenFormat.reset();
        WriteSettingsFile(AcceptedSettings());
    }
    std::vector<std::string> ExportFolder() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.File("export")))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

class CsvReplaceQuestion : public CsvRunTest,
                           public ::testing::WithParamInterface<CsvReplaceCase> {};

TEST_P(CsvReplaceQuestion, AsksAboutTheFilesTheBatchReplacesOrRemoves) {
    const CsvReplaceCase& c = GetParam();
    LoadBookings(3);
    for (const std::string& name : c.existing) dir.Write("export/" + name, "old " + name);
    ui.answers.push_back(c.answer);
    const bool written = c.named.empty() || c.answer == MessageAnswer::Yes;

    EXPECT_EQ(flow.OnDatenExportieren(), written);

    std::vector<std::string> texts;
    if (!c.named.empty()) {
        std::string listed;
        for (const std::string& name : c.named) listed += dir.File("export/" + name) + "\n";
        texts.push_back("Diese Dateien gibt es schon und werden ersetzt:\n" + listed +
                        "\nTrotzdem exportieren?");
        EXPECT_EQ(ui.questions, std::vector<QuestionId>{QuestionId::OverwriteExport});
        EXPECT_EQ(ui.messages[0].buttons, MessageButtons::YesNo);
    } else {
        EXPECT_TRUE(ui.questions.empty());
    }
    if (written) {
        texts.push_back(
            "DATEV-Export erfolgreich abgeschlossen.\n3 Buchungen wurden "
            "exportiert.\nDatei: " +
            dir.File("export/" + BatchName()));
    }
    EXPECT_EQ(ui.Texts(), texts);
    EXPECT_EQ(ExportFolder(), c.after);
    for (const std::string& name : c.after) {
        if (written && name == BatchName()) {
            test::ExpectDatevRules(dir.File("export/" + name));
        } else {
            EXPECT_EQ(ReadFile(dir.File("export/" + name)), "old " + name) << name;
        }
    }
    EXPECT_EQ(flow.Describe().exported.empty(), !written);
}

// Another range's batch is no file of this run.
const std::string kOtherRange = CsvFileName(20050301, 20050331, 1);

INSTANTIATE_TEST_SUITE_P(
    Cases, CsvReplaceQuestion,
    ::testing::Values(
        CsvReplaceCase{"NoFileInTheWayAsksNothing",
                       {kOtherRange},
                       {},
                       MessageAnswer::No,
                       {kOtherRange, BatchName()}},
        CsvReplaceCase{
            "NeinKeepsTheBatch", {BatchName()}, {BatchName()}, MessageAnswer::No, {BatchName()}},
        CsvReplaceCase{
            "JaReplacesTheBatch", {BatchName()}, {BatchName()}, MessageAnswer::Yes, {BatchName()}},
        // A later part of an earlier, larger export of the range: the run
        // removes it, so it counts as replaced.
        CsvReplaceCase{"NeinKeepsALaterPartAndWritesNothing",
                       {BatchName(2)},
                       {BatchName(2)},
                       MessageAnswer::No,
                       {BatchName(2)}},
        CsvReplaceCase{"JaRemovesTheLaterPart",
                       {BatchName(2)},
                       {BatchName(2)},
                       MessageAnswer::Yes,
                       {BatchName()}},
        // Only the parts up to the first gap go with the batch.
        CsvReplaceCase{"JaRemovesTheLaterPartsUpToTheFirstGap",
                       {BatchName(), BatchName(2), BatchName(3), BatchName(5)},
                       {BatchName(), BatchName(2), BatchName(3)},
                       MessageAnswer::Yes,
                       {BatchName(), BatchName(5)}}),
    [](const auto& info) { return std::string(info.param.name); });

// The check's warnings stand before the question, so that the user decides
// knowing them; they are shown once, and "Nein" ends the run there.
TEST_F(CsvRunTest, WarningsComeBeforeTheQuestion) {
    AddBooking(WorkflowTestAccess::Store(flow),
               {.bookingNo = 7, .soll = 8400, .haben = 1200, .key = 9});
    WorkflowTestAccess::Store(flow).journalLoaded = 1;
    dir.Write("charts.kon", "1200, \r\n8400, AM\r\n");
    flow.UseChart(dir.File("charts.kon"));
    dir.Write("export/" + BatchName(), "old");

    EXPECT_FALSE(flow.OnDatenExportieren());
    const std::vector<std::string> texts = ui.Texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_TRUE(texts[0].starts_with("(E:314)\nHinweise zum DATEV-Export")) << texts[0];
    EXPECT_TRUE(texts[1].starts_with("Diese Dateien gibt es schon")) << texts[1];
    EXPECT_EQ(ReadFile(dir.File("export/" + BatchName())), "old");
}

// A run the check stops shows E:313 and asks nothing.
TEST_F(CsvRunTest, CheckErrorsAskNothing) {
    LoadBookings(3);
    DatevSettings s = DefaultDatevSettings();  // no advisor, no client
    dir.Write("data/angaben_datev.txt", FormatSettingsFile(s));
    dir.Write("export/" + BatchName(), "old");

    EXPECT_FALSE(flow.OnDatenExportieren());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.Last().text.starts_with("(E:313)")) << ui.Last().text;
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_EQ(ReadFile(dir.File("export/" + BatchName())), "old");
}

// The step the command line runs replaces as its contract says.
TEST_F(CsvRunTest, TheStepReplacesWithoutAQuestion) {
    LoadBookings(3);
    dir.Write("export/" + BatchName(), "old");
    dir.Write("export/" + BatchName(2), "old");
    EXPECT_TRUE(flow.ExportDatev(CsvRequest({"05.03.2005", "05.03.2005"})));
    EXPECT_TRUE(ui.questions.empty());
    EXPECT_EQ(ExportFolder(), std::vector<std::string>{BatchName()});
    test::ExpectDatevRules(dir.File("export/" + BatchName()));
}

// "Auswahl" chooses the target's folder, starting in the current one; the
// target keeps its file name, a folder chosen with a trailing '/' gets no
// doubled one.
TEST_F(ExportRunTest, AuswahlChoosesTheTargetFolder) {
    ui.files = {dir.File("other"), dir.File("third") + "/"};
    flow.OnDatevAuswahl();
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    const FileDialogRequest& r = ui.fileRequests[0];
    EXPECT_TRUE(r.chooseFolder);
    EXPECT_FALSE(r.saveAs);
    EXPECT_EQ(r.initialName, dir.File("export"));
    EXPECT_EQ(flow.datevTargetPath(), dir.File("other/Export.DATEV"));
    EXPECT_EQ(ui.refreshes, 1);

    flow.OnDatevAuswahl();
    EXPECT_EQ(flow.datevTargetPath(), dir.File("third/Export.DATEV"));
    flow.OnDatevAuswahl();  // cancelled
    EXPECT_EQ(flow.datevTargetPath(), dir.File("third/Export.DATEV"));
    EXPECT_EQ(ui.refreshes, 3);

    flow.OnDatevTargetEdited("");
    ui.files = {std::string("/")};
    flow.OnDatevAuswahl();
    EXPECT_EQ(ui.fileRequests.back().initialName, "");
    EXPECT_EQ(flow.datevTargetPath(), "/ED0001");
}

}  // namespace
}  // namespace belvaron
