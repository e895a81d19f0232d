#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "FakeUi.h"
#include "FileSizeLimit.h"
#include "Portable.h"
#include "TempDir.h"
#include "WorkflowTestAccess.h"
#include "core/base/Format.h"
#include "core/base/TextInputMessages.h"
#include "core/datev/AccountCheckMessages.h"
#include "core/mapping/MappingMessages.h"
#include "core/workflow/Workflow.h"

namespace belvaron {
namespace {

using test::FakeUi;
using test::ReadFile;
using test::TempDir;

class MappingWorkflow : public testing::Test {
protected:
    MappingWorkflow() {
        std::filesystem::create_directories(dir.File("program"));
        std::filesystem::create_directories(dir.File("data"));
        flow.SetDataFolderOverride(dir.File("data"));
    }

    void Start() {
        flow.Start(dir.File("program") + "/");
        ui.messages.clear();
        ui.refreshes = 0;
    }
    void Add(int32_t soll, int32_t haben, int32_t vat = 0, int32_t key = 0) {
        BookingRecord* b = WorkflowTestAccess::Store(flow).AppendRoom();
        *b = BookingRecord{};
        b->sollAccount = soll;
        b->habenAccount = haben;
        b->vatRate = vat;
        b->datevKey = key;
        ++WorkflowTestAccess::Store(flow).bookingCount;
        WorkflowTestAccess::Store(flow).journalLoaded = 1;
    }
    std::string ReplaceFile() const { return dir.File("data") + "/replace.dat"; }
    void WriteList(const std::string& bytes) { dir.Write("data/replace.dat", bytes); }

    TempDir dir;
    FakeUi ui;
    Workflow flow{ui};
};

TEST_F(MappingWorkflow, ReplaceWithoutJournalIsRefused) {
    Start();
    EXPECT_FALSE(flow.OnReplaceAccounts());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.Last().text, "(E:102)\nBitte laden sie zuerst eine Journal-Datei (Punkt 3).");
    EXPECT_EQ(ui.listClears, 0);
    EXPECT_EQ(flow.store().accountsReplaced, 0);
}

TEST_F(MappingWorkflow, ReplaceReportsTheCountsAndRefillsTheList) {
    WriteList("1200, 0, 1800, 1600, 0, 0\r\n");
    Start();
    Add(1200, 1200);
    Add(0, 8400);
    EXPECT_TRUE(flow.OnReplaceAccounts());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.Last().text, "Insgesamt wurden ersetzt:\n1 SOLL-Konten\n1 HABEN-Konten");
    EXPECT_EQ(ui.Last().icon, MessageIcon::Information);
    EXPECT_EQ(flow.store()[0].sollAccount, 1800);
    EXPECT_EQ(flow.store()[0].habenAccount, 1600);
    EXPECT_EQ(ui.listClears, 1);
    EXPECT_EQ(ui.listRefills, 1);
    EXPECT_TRUE(ui.lastMarked.empty());
    EXPECT_EQ(flow.store().accountsReplaced, 1);
}

TEST_F(MappingWorkflow, MissingListStillSetsAccountsReplaced) {
    Start();
    Add(1200, 8400);
    EXPECT_FALSE(flow.OnReplaceAccounts());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.Last().text, msg::kE206);
    EXPECT_EQ(ui.Last().icon, MessageIcon::None);
    EXPECT_EQ(flow.store().accountsReplaced, 1);
    EXPECT_EQ(ui.listRefills, 1);
}

TEST_F(MappingWorkflow, TooManyEntriesChangeNoBooking) {
    std::string text;
    for (int i = 0; i < 1000; ++i) text += "1200, 0, 1800, 1800, 0, 0\r\n";
    WriteList(text + "1800, 0, 1900, 1900, 0, 0");
    Start();
    Add(1200, 1200);
    EXPECT_FALSE(flow.OnReplaceAccounts());
    EXPECT_EQ(ui.Last().text, msg::kE233);
    EXPECT_EQ(flow.store()[0].sollAccount, 1200);
    EXPECT_EQ(flow.store().accountsReplaced, 1);
}

TEST_F(MappingWorkflow, ZeroSollStopsKeepingEarlierBookings) {
    WriteList("9500, 0, 0, 4840, 0, 0\r\n");
    Start();
    Add(1200, 9500);
    Add(9500, 1200);
    EXPECT_FALSE(flow.OnReplaceAccounts());
    EXPECT_EQ(ui.Last().text,
              "(E:207)\nREPLACE.DAT - (QB-Konto=9500) Soll-Konto ist 0 oder nicht vorhanden!\n"
              "Bitte ändern sie die Datei replace.dat.\nDer Vorgang wird abgebrochen!");
    EXPECT_EQ(flow.store()[0].habenAccount, 4840);
    EXPECT_EQ(ui.listRefills, 1);
}

// A list saved as UTF-8 is announced as converted before what applying it
// met.
TEST_F(MappingWorkflow, ConvertedListIsAnnouncedBeforeItsError) {
    WriteList(
        "\xEF\xBB\xBF"
        "9500, 0, 0, 4840, 0, 0  (\xE2\x86\x92 Kurs)\r\n");
    Start();
    Add(9500, 1200);
    EXPECT_FALSE(flow.OnReplaceAccounts());
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text,
              Format(msg::kTextConverted, (dir.File("data") + test::kSep + "replace.dat").c_str(),
                     msg::kEncodingUtf8, 1));
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::None);
    EXPECT_TRUE(ui.messages[1].text.starts_with("(E:207)\n")) << ui.messages[1].text;
}

TEST_F(MappingWorkflow, EmptyListReportsZero) {
    WriteList("\r\n\r\n");
    Start();
    Add(1200, 8400);
    EXPECT_TRUE(flow.OnReplaceAccounts());
    EXPECT_EQ(ui.Last().text, "Insgesamt wurden ersetzt:\n0 SOLL-Konten\n0 HABEN-Konten");
}

TEST_F(MappingWorkflow, PressingAgainWorksOnTheAccountsAsTheyStand) {
    WriteList("1800, 0, 1900, 1900, 0, 0\r\n1200, 0, 1800, 1800, 0, 0\r\n");
    Start();
    Add(1200, 8400);
    flow.OnReplaceAccounts();
    EXPECT_EQ(flow.store()[0].sollAccount, 1800);
    ui.answers.push_back(MessageAnswer::Yes);  // replace the replaced accounts
    flow.OnReplaceAccounts();
    EXPECT_EQ(flow.store()[0].sollAccount, 1900);
}

// A second "Konten ersetzen" asks first; "Nein" (the default) changes nothing.
TEST_F(MappingWorkflow, PressingAgainAsksFirst) {
    WriteList("1800, 0, 1900, 1900, 0, 0\r\n1200, 0, 1800, 1800, 0, 0\r\n");
    Start();
    Add(1200, 8400);
    EXPECT_TRUE(flow.OnReplaceAccounts());
    EXPECT_TRUE(ui.questions.empty());
    const auto messages = ui.messages.size();
    EXPECT_FALSE(flow.OnReplaceAccounts());
    EXPECT_EQ(ui.questions, std::vector<QuestionId>{QuestionId::ReplaceAgain});
    EXPECT_EQ(ui.messages.size(), messages + 1);
    EXPECT_EQ(flow.store()[0].sollAccount, 1800);
    EXPECT_EQ(ui.listClears, 1);
}

TEST_F(MappingWorkflow, TheListComesFromTheProgramFolderAtFirstStart) {
    const std::string bytes = "2200,19, 1576, 1776, 0, 0  (Erl\xF6se)\r\n";
    dir.Write("program/replace.dat", bytes);
    Start();
    EXPECT_EQ(flow.replaceText(), bytes);
    EXPECT_EQ(ReadFile(ReplaceFile()), bytes);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MappingWorkflow, MissingListLoadsAsEmptyWithoutMessage) {
    Start();
    EXPECT_EQ(flow.replaceText(), "");
    EXPECT_EQ(flow.LoadReplaceText(), "");
    EXPECT_TRUE(ui.messages.empty());
}

struct FocusCase {
    const char* name;
    bool modified;
    bool toFileButton;
    std::optional<MessageAnswer> answer;  // the question asked, and its answer
    bool saved;
};

std::ostream& operator<<(std::ostream& os, const FocusCase& c) { return os << c.name; }

class KillFocus : public MappingWorkflow, public testing::WithParamInterface<FocusCase> {};

TEST_P(KillFocus, SavesAsksOrRestores) {
    const FocusCase& c = GetParam();
    const std::string old = "1200, 0, 1800, 1800, 0, 0\r\n";
    const std::string edited = "1200, 0, 1810, 1810, 0, 0  (\xE4nderung)\r\n\r\n";
    WriteList(old);
    Start();
    if (c.modified) flow.OnReplaceTextChange(edited);
    if (c.answer) ui.answers = {*c.answer};
    flow.OnReplaceTextLeft(c.toFileButton);
    if (c.answer) {
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.Last().text, "Änderungen in der REPLACE-Liste speichern?");
        EXPECT_EQ(ui.Last().buttons, MessageButtons::YesNo);
    } else {
        EXPECT_TRUE(ui.messages.empty());
    }
    EXPECT_EQ(ReadFile(ReplaceFile()), c.saved ? edited : old);
    const bool restored = c.answer == MessageAnswer::No;
    EXPECT_EQ(flow.replaceText(), restored || !c.modified ? old : edited);
    EXPECT_EQ(ui.refreshes, restored ? 1 : 0);
    EXPECT_FALSE(flow.replaceTextModified());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, KillFocus,
    testing::Values(FocusCase{"Unmodified", false, false, std::nullopt, false},
                    FocusCase{"UnmodifiedToFileButton", false, true, std::nullopt, false},
                    FocusCase{"ToFileButtonSavesWithoutAsking", true, true, std::nullopt, true},
                    FocusCase{"ElsewhereYesSaves", true, false, MessageAnswer::Yes, true},
                    FocusCase{"ElsewhereNoRestores", true, false, MessageAnswer::No, false}),
    [](const testing::TestParamInfo<FocusCase>& info) { return std::string(info.param.name); });

TEST_F(MappingWorkflow, EditsReachTheFileBeforeKontenErsetzenApplies) {
    WriteList("1200, 0, 1800, 1800, 0, 0\r\n");
    Start();
    Add(1200, 8400);
    flow.OnReplaceTextChange("1200, 0, 1810, 1810, 0, 0\r\n");
    flow.OnReplaceTextLeft(true);  // the focus goes to "Konten ersetzen"
    EXPECT_TRUE(flow.OnReplaceAccounts());
    EXPECT_EQ(flow.store()[0].sollAccount, 1810);
    EXPECT_EQ(ui.messages.size(), 1u);  // only the summary
}

// Every step that reads the REPLACE list or leaves the window settles the
// box's typed lines first, whatever pressed it (a mnemonic moves no focus):
// the file steps save without asking, the others ask as leaving the box does.
struct SettleCase {
    const char* name;
    bool (*run)(Workflow&);
    std::vector<QuestionId> questions;  // each answered Yes, in order
};

std::ostream& operator<<(std::ostream& os, const SettleCase& c) { return os << c.name; }

class SettleBeforeStep : public MappingWorkflow, public testing::WithParamInterface<SettleCase> {};

TEST_P(SettleBeforeStep, TypedLinesReachTheFile) {
    const SettleCase& c = GetParam();
    WriteList("1200, 0, 1800, 1800, 0, 0\r\n");
    dir.Write("data/TEST.kon", "1200, \r\n1810, \r\n8400, \r\n");
    Start();
    Add(1200, 8400);
    flow.UseChart("TEST.kon");
    const std::string typed = "1200, 0, 1810, 1810, 0, 0\r\n";
    flow.OnReplaceTextChange(typed);
    for (std::size_t i = 0; i < c.questions.size(); ++i) ui.answers.push_back(MessageAnswer::Yes);
    c.run(flow);
    EXPECT_EQ(ui.questions, c.questions);
    // "Liste löschen" saves first and then empties the file, as answered.
    const bool cleared = c.questions.size() == 2 && c.questions[1] == QuestionId::ClearReplaceList;
    EXPECT_EQ(ReadFile(ReplaceFile()), cleared ? "" : typed);
    EXPECT_EQ(flow.replaceText(), cleared ? "" : typed);
    EXPECT_FALSE(flow.replaceTextModified());
}

INSTANTIATE_TEST_SUITE_P(
    Steps, SettleBeforeStep,
    testing::Values(
        SettleCase{"KontenErsetzen", [](Workflow& f) { return f.OnReplaceAccounts(); }, {}},
        SettleCase{"KontenUeberpruefen", [](Workflow& f) { return f.OnKontenUeberpruefen(); }, {}},
        SettleCase{"ListeLoeschen",
                   [](Workflow& f) {
                       f.OnClearReplaceList();
                       return true;
                   },
                   {QuestionId::SaveReplaceList, QuestionId::ClearReplaceList}},
        SettleCase{"LexwareExport",
                   [](Workflow& f) { return f.OnExportLexware(); },
                   {QuestionId::SaveReplaceList}},
        SettleCase{"DatevExport",
                   [](Workflow& f) { return f.OnDatenExportieren(); },
                   {QuestionId::SaveReplaceList}},
        SettleCase{"ProgrammBeenden",
                   [](Workflow& f) { return f.OnQuit(); },
                   {QuestionId::SaveReplaceList, QuestionId::QuitProgram}}),
    [](const testing::TestParamInfo<SettleCase>& info) { return std::string(info.param.name); });

TEST_F(MappingWorkflow, ReplaceAppliesTheTypedLinesWithoutFocusChange) {
    WriteList("1200, 0, 1800, 1800, 0, 0\r\n");
    Start();
    Add(1200, 8400);
    flow.OnReplaceTextChange("1200, 0, 1810, 1810, 0, 0\r\n");
    EXPECT_TRUE(flow.OnReplaceAccounts());
    EXPECT_EQ(flow.store()[0].sollAccount, 1810);
}

// A list that cannot be saved is not applied in its old form, and the typed
// lines stay in the box, still marked as unsaved.
TEST_F(MappingWorkflow, UnsavableEditsStopReplaceAndCheck) {
    dir.Write("blocker", "x");
    flow.SetDataFolderOverride(dir.File("blocker") + "/data");
    Add(1200, 8400);
    const std::string typed = "1200, 0, 1810, 1810, 0, 0\r\n";
    flow.OnReplaceTextChange(typed);
    EXPECT_FALSE(flow.OnReplaceAccounts());
    EXPECT_FALSE(flow.OnKontenUeberpruefen());
    EXPECT_EQ(flow.store()[0].sollAccount, 1200);
    EXPECT_EQ(flow.store().accountsReplaced, 0);
    EXPECT_EQ(flow.replaceText(), typed);
    EXPECT_TRUE(flow.replaceTextModified());
    EXPECT_EQ(ui.messages.size(), 2u);  // E:105 for each attempt, nothing else
}

TEST_F(MappingWorkflow, SessionEndSavesWithoutAsking) {
    WriteList("1200, 0, 1800, 1800, 0, 0\r\n");
    Start();
    flow.OnReplaceTextChange("1200, 0, 1810, 1810, 0, 0\r\n");
    flow.OnSessionEnd();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ReadFile(ReplaceFile()), "1200, 0, 1810, 1810, 0, 0\r\n");
    EXPECT_FALSE(flow.replaceTextModified());
}

TEST_F(MappingWorkflow, SaveThatCannotCreateTheFileSaysSo) {
    dir.Write("blocker", "x");
    flow.SetDataFolderOverride(dir.File("blocker") + "/data");
    flow.OnReplaceTextChange("1200, 0, 1800, 1800, 0, 0\r\n");
    flow.OnReplaceTextLeft(true);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.Last().text, "(E:105)\nREPLACE.dat - Datei konnte nicht geöffnet werden!");
    EXPECT_EQ(flow.replaceText(), "1200, 0, 1800, 1800, 0, 0\r\n");
    EXPECT_TRUE(flow.replaceTextModified());  // still unsaved: kept and marked
}

TEST_F(MappingWorkflow, FailedSaveKeepsTheOldFile) {
    BELVARON_POSIX_ONLY("a file-size limit");
    const std::string old = "1200, 0, 1800, 1800, 0, 0\r\n";
    WriteList(old);
    Start();
    flow.OnReplaceTextChange(old + std::string(4096, ' ') + "1800, 0, 1900, 1900, 0, 0\r\n");
    {
        test::FileSizeLimit limit(1024);
        EXPECT_FALSE(flow.SaveReplaceText());
    }
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.Last().text, msg::kE105Incomplete);
    EXPECT_EQ(ReadFile(ReplaceFile()), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.File("data")),
                            std::filesystem::directory_iterator()),
              1);  // no half-written file left behind
}

TEST_F(MappingWorkflow, ClearListAnsweredNoChangesNothing) {
    WriteList("1200, 0, 1800, 1800, 0, 0\r\n");
    Start();
    flow.OnClearReplaceList();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.Last().text, "Wollen Sie wirklich die gesamte REPLACE-Liste löschen?");
    EXPECT_EQ(flow.replaceText(), "1200, 0, 1800, 1800, 0, 0\r\n");
    EXPECT_EQ(ReadFile(ReplaceFile()), "1200, 0, 1800, 1800, 0, 0\r\n");
}

TEST_F(MappingWorkflow, ClearListAnsweredYesEmptiesFileAndBox) {
    WriteList("1200, 0, 1800, 1800, 0, 0\r\n");
    Start();
    ui.answers = {MessageAnswer::Yes};
    flow.OnClearReplaceList();
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(flow.replaceText(), "");
    EXPECT_TRUE(std::filesystem::exists(ReplaceFile()));
    EXPECT_EQ(std::filesystem::file_size(ReplaceFile()), 0u);
    EXPECT_EQ(ui.refreshes, 1);
}

TEST_F(MappingWorkflow, CheckWithoutJournalIsRefused) {
    Start();
    EXPECT_FALSE(flow.OnKontenUeberpruefen());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.Last().text, "(E:101)\nBitte laden sie zuerst eine Journal-Datei (Punkt 3).");
}

TEST_F(MappingWorkflow, CheckReloadsTheBoxWithTheProposals) {
    WriteList("1200, 0, 1800, 1800, 0, 0");
    dir.Write("data/TEST.kon", "1800, \r\n4700, \r\n");
    Start();
    Add(1800, 4711);
    flow.UseChart("TEST.kon");
    ui.answers = {MessageAnswer::Yes};
    EXPECT_TRUE(flow.OnKontenUeberpruefen());
    EXPECT_EQ(flow.replaceText(),
              "1200, 0, 1800, 1800, 0, 0\r\n"
              "4711, 0, 4700, 4700, 0, 0  (Konto-Bedeutung pr\xFC"
              "fen!)\r\n");
    EXPECT_EQ(ui.refreshes, 1);
}

// The check shows its report, then asks for proposals when it found
// something; "Ja" appends them, and a REPLACE list that cannot be written
// fails the step after the report.
struct CheckCase {
    const char* name;
    int32_t soll;                         // booked against 1000; the chart has 1000, 4700
    std::optional<MessageAnswer> answer;  // the proposal question asked, and its answer
    bool replaceListIsAFolder;
    bool ok;
    const char* replaceList;  // afterwards (nullptr: a folder still)
};

std::ostream& operator<<(std::ostream& os, const CheckCase& c) { return os << c.name; }

class CheckQuestion : public MappingWorkflow, public testing::WithParamInterface<CheckCase> {};

TEST_P(CheckQuestion, FollowsTheReport) {
    const CheckCase& c = GetParam();
    if (c.replaceListIsAFolder) {
        std::filesystem::create_directories(ReplaceFile());
    } else {
        WriteList("1200, 0, 1800, 1800, 0, 0\r\n");
    }
    dir.Write("data/TEST.kon", "1000, \r\n4700, \r\n");
    Start();
    Add(c.soll, 1000);
    flow.UseChart("TEST.kon");
    if (c.answer) ui.answers = {*c.answer};
    EXPECT_EQ(flow.OnKontenUeberpruefen(), c.ok);
    ASSERT_GE(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].text.starts_with("Die Überprüfung auf Kompatibilität"));
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(ui.messages[0].buttons, MessageButtons::Ok);
    std::size_t expected = 1;
    if (c.answer) {
        EXPECT_EQ(ui.questions, std::vector<QuestionId>{QuestionId::ProposeReplaceEntries});
        ASSERT_GE(ui.messages.size(), 2u);
        EXPECT_EQ(ui.messages[1].text, msg::kProposalQuestion);
        EXPECT_EQ(ui.messages[1].icon, MessageIcon::None);
        EXPECT_EQ(ui.messages[1].buttons, MessageButtons::YesNo);
        expected = 2;
    } else {
        EXPECT_TRUE(ui.questions.empty());
    }
    if (c.replaceListIsAFolder) {
        ASSERT_EQ(ui.messages.size(), 3u);
        EXPECT_EQ(ui.Last().text, msg::kE308);
        EXPECT_TRUE(std::filesystem::is_directory(ReplaceFile()));
    } else {
        EXPECT_EQ(ui.messages.size(), expected);
        EXPECT_EQ(ReadFile(ReplaceFile()), c.replaceList);
    }
    EXPECT_EQ(flow.Describe().accounts, c.ok ? "geprüft gegen TEST.kon" : "");
}

INSTANTIATE_TEST_SUITE_P(
    Answers, CheckQuestion,
    testing::Values(
        CheckCase{"NothingFound", 4700, std::nullopt, false, true, "1200, 0, 1800, 1800, 0, 0\r\n"},
        CheckCase{"AnsweredNo", 4711, MessageAnswer::No, false, true,
                  "1200, 0, 1800, 1800, 0, 0\r\n"},
        CheckCase{"AnsweredYes", 4711, MessageAnswer::Yes, false, true,
                  "1200, 0, 1800, 1800, 0, 0\r\n"
                  "4711, 0, 4700, 4700, 0, 0  (Konto-Bedeutung pr\xFC"
                  "fen!)\r\n"},
        CheckCase{"ReplaceListUnwritable", 4711, MessageAnswer::Yes, true, false, nullptr}),
    [](const testing::TestParamInfo<CheckCase>& info) { return std::string(info.param.name); });

// The command line's --replace --check SK3_DATEV.kon on bookings like those
// of the example journal, with the shipped list and chart.
TEST_F(MappingWorkflow, ShippedListFitsTheShippedSkr03Chart) {
    flow.Start(std::string(BELVARON_SOURCE_DIR) + "/data/");
    struct Row {
        int32_t soll, haben, vat;
        int32_t newSoll, newHaben, key;
    };
    const Row rows[] = {
        {1400, 8400, 19, 1410, 8400, 40}, {1400, 2200, 19, 1410, 1776, 0},
        {4930, 1600, 19, 4930, 1610, 0},  {2200, 1600, 19, 1576, 1610, 0},
        {4910, 1000, 0, 4910, 1000, 0},   {1200, 1400, 0, 1200, 1410, 0},
        {4240, 1600, 19, 4240, 1610, 0},  {4210, 1200, 0, 4210, 1200, 0},
        {1400, 8300, 7, 1410, 8300, 40},  {1400, 2200, 7, 1410, 1771, 0},
        {8400, 1400, 19, 8400, 1410, 40}, {2200, 1400, 19, 1776, 1410, 0},
        {1600, 1200, 0, 1610, 1200, 0},   {1780, 1200, 0, 1780, 1200, 0},
        {4120, 1200, 0, 4120, 1200, 0},   {4964, 1600, 19, 4964, 1610, 0},
        {0, 1000, 0, 0, 1000, 0},
    };
    for (const Row& r : rows) Add(r.soll, r.haben, r.vat);
    ui.messages.clear();
    EXPECT_TRUE(flow.OnReplaceAccounts());
    EXPECT_EQ(ui.Last().text, "Insgesamt wurden ersetzt:\n8 SOLL-Konten\n11 HABEN-Konten");
    for (int32_t i = 0; i < flow.store().bookingCount; ++i) {
        const Row& r = rows[i];
        EXPECT_EQ(flow.store()[i].sollAccount, r.newSoll) << "booking " << i;
        EXPECT_EQ(flow.store()[i].habenAccount, r.newHaben) << "booking " << i;
        EXPECT_EQ(flow.store()[i].datevKey, r.key) << "booking " << i;
    }
    flow.UseChart("SK3_DATEV.kon");
    EXPECT_TRUE(flow.OnKontenUeberpruefen());
    ASSERT_EQ(ui.messages.size(), 2u);  // no question: nothing to propose
    EXPECT_EQ(ui.Last().text,
              "Die Überprüfung auf Kompatibilität mit dem DATEV-Kontorahmen ergab folgendes:\n\n"
              "1. Überprüfung auf nicht existierende Konten bei Datev:\n OK  :-)\n\n"
              "2. Überprüfung auf Datev-Sammelkonten:\n OK  :-)\n\n"
              "3. Überprüfung auf reservierte Datevkonten:\n OK  :-)\n\n"
              "4. Überprüfung auf Automatik-Konten:\n OK  :-)\n\n");
}

}  // namespace
}  // namespace belvaron
