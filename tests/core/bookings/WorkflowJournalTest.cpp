#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeUi.h"
#include "Portable.h"
#include "StoreSupport.h"
#include "TempDir.h"
#include "WorkflowTestAccess.h"
#include "core/base/FixedText.h"
#include "core/workflow/Workflow.h"

namespace belvaron {
namespace {

using test::FakeUi;

const std::string kFolder = std::string(BELVARON_TEST_DATA) + "/bookings";

class WorkflowJournalTest : public ::testing::Test {
protected:
    WorkflowJournalTest() { flow.OnCurrency(Currency::Euro); }

    bool Select(const std::string& file) {
        ui.files.push_back(kFolder + "/" + file);
        return flow.OnSelectJournal();
    }

    FakeUi ui;
    Workflow flow{ui};
};

TEST_F(WorkflowJournalTest, LoadSortsListsAndMarksAccountZeroLines) {
    EXPECT_TRUE(Select("journal_account_without_number.txt"));
    EXPECT_EQ(ui.fileRequests.back().filter, "TXT-Files (*.txt)|*.txt|ALL-Files (*.*)|*.*|");
    EXPECT_EQ(ui.fileRequests.back().initialName, "*.txt");
    EXPECT_TRUE(ui.fileRequests.back().fileMustExist);
    EXPECT_EQ(flow.store().bookingCount, 3);
    EXPECT_EQ(flow.store().journalLoaded, 1);
    EXPECT_EQ(ui.listClears, 1);
    EXPECT_EQ(ui.listRefills, 1);
    EXPECT_EQ(ui.lastMarked, (std::vector<int>{0, 1}));
    EXPECT_EQ(ui.sortsStarted, 1);
}

TEST_F(WorkflowJournalTest, DefaultTargetsAreSetOnlyWhileEmpty) {
    flow.OnLexwareTargetEdited("/chosen/out.txt");
    Select("journal_split_first.txt");
    EXPECT_EQ(flow.datevTargetPath(), kFolder + test::kSep + "ED0001");
    EXPECT_EQ(flow.lexwareTargetPath(), "/chosen/out.txt");

    flow.OnDatevTargetEdited("/chosen/ED0001");
    Select("journal_split_last.txt");
    EXPECT_EQ(flow.datevTargetPath(), "/chosen/ED0001");
    EXPECT_EQ(flow.lexwareTargetPath(), "/chosen/out.txt");

    flow.OnLexwareTargetEdited("");
    Select("journal_split_last.txt");
    EXPECT_EQ(flow.lexwareTargetPath(), kFolder + test::kSep + "buchhalter.txt");
}

TEST_F(WorkflowJournalTest, CancelLeavesEverythingAsItWas) {
    ASSERT_TRUE(Select("journal_split_first.txt"));
    WorkflowTestAccess::Store(flow).accountsReplaced = 1;
    const auto before = ui.messages.size();
    const int clears = ui.listClears;
    const int refreshes = ui.refreshes;

    ui.files.push_back(std::nullopt);
    EXPECT_FALSE(flow.OnSelectJournal());
    EXPECT_EQ(flow.store().bookingCount, 2);
    EXPECT_EQ(flow.store().journalLoaded, 1);
    EXPECT_EQ(flow.store().accountsReplaced, 1);
    EXPECT_EQ(flow.journalPath(), kFolder + "/journal_split_first.txt");
    EXPECT_EQ(ui.listClears, clears);
    EXPECT_EQ(ui.messages.size(), before);
    EXPECT_EQ(ui.refreshes, refreshes + 1);
}

TEST_F(WorkflowJournalTest, FailedLoadEmptiesTheListAndGatesRefuse) {
    ASSERT_TRUE(Select("journal_split_first.txt"));
    WorkflowTestAccess::Store(flow).accountsReplaced = 1;
    WorkflowTestAccess::Store(flow).cashBasisApplied = 1;
    WorkflowTestAccess::Vat(flow).count = 3;
    ui.answers.push_back(MessageAnswer::Yes);  // load over that work
    EXPECT_FALSE(Select("no_such_journal.txt"));
    EXPECT_EQ(ui.Last().text.rfind("(E:202)\n", 0), 0u);
    EXPECT_EQ(flow.store().bookingCount, 0);
    EXPECT_EQ(flow.store().journalLoaded, 0);
    EXPECT_EQ(flow.store().accountsReplaced, 0);
    EXPECT_EQ(flow.store().cashBasisApplied, 0);
    EXPECT_EQ(flow.vatRowCount(), 0);
    EXPECT_TRUE(ui.lastMarked.empty());

    EXPECT_FALSE(flow.OnExportLexware());
    EXPECT_EQ(ui.Last().text, "(E:104)\nBitte laden sie zuerst eine Journal-Datei (Punkt 3).");
}

// Choosing a journal while the loaded one carries work asks first; "Nein"
// keeps the journal and its work, "Ja" loads.
struct ReloadCase {
    const char* name;
    void (*work)(Workflow&, FakeUi&);
    bool asks;
};

std::ostream& operator<<(std::ostream& os, const ReloadCase& c) { return os << c.name; }

class ReloadWithWork : public WorkflowJournalTest,
                       public ::testing::WithParamInterface<ReloadCase> {};

TEST_P(ReloadWithWork, AsksBeforeDiscarding) {
    const ReloadCase& c = GetParam();
    ASSERT_TRUE(Select("journal_account_without_number.txt"));
    c.work(flow, ui);
    const int32_t count = flow.store().bookingCount;
    ui.questions.clear();
    EXPECT_EQ(Select("journal_split_first.txt"), !c.asks);
    if (!c.asks) {
        EXPECT_TRUE(ui.questions.empty());
        return;
    }
    EXPECT_EQ(ui.questions, std::vector<QuestionId>{QuestionId::ReloadJournal});
    EXPECT_EQ(flow.store().bookingCount, count);
    EXPECT_EQ(flow.journalPath(), kFolder + "/journal_account_without_number.txt");
    EXPECT_TRUE(flow.journalCarriesWork());
    ui.answers.push_back(MessageAnswer::Yes);
    EXPECT_TRUE(Select("journal_split_first.txt"));
    EXPECT_EQ(flow.store().bookingCount, 2);
    EXPECT_FALSE(flow.journalCarriesWork());
}

INSTANTIATE_TEST_SUITE_P(
    Work, ReloadWithWork,
    ::testing::Values(
        ReloadCase{"None", [](Workflow&, FakeUi&) {}, false},
        ReloadCase{"EditorCancelled",
                   [](Workflow& f, FakeUi& u) {
                       u.editAnswers.push_back(false);
                       f.OnListDoubleClick(0);
                   },
                   false},
        ReloadCase{"Edited",
                   [](Workflow& f, FakeUi& u) {
                       u.editAnswers.push_back(true);
                       f.OnListDoubleClick(0);
                   },
                   true},
        ReloadCase{"ZeroBookingsDeleted",
                   [](Workflow& f, FakeUi&) { f.DeleteZeroAccountBookings(); }, true},
        ReloadCase{"AccountsReplaced",
                   [](Workflow& f, FakeUi&) { WorkflowTestAccess::Store(f).accountsReplaced = 1; },
                   true},
        ReloadCase{"Redated",
                   [](Workflow& f, FakeUi&) { WorkflowTestAccess::Store(f).cashBasisApplied = 1; },
                   true}),
    [](const ::testing::TestParamInfo<ReloadCase>& info) { return std::string(info.param.name); });

// A reload undoes the re-dating, so the window no longer shows IST or the
// report that led to it.
TEST_F(WorkflowJournalTest, ReloadClearsTheCashBasisChoice) {
    ASSERT_TRUE(Select("journal_split_first.txt"));
    flow.ImportVatReport(kFolder + "/no_such_vat_report.txt");  // IST, with its path
    ASSERT_EQ(flow.vatReportPath(), kFolder + "/no_such_vat_report.txt");
    ASSERT_TRUE(flow.journalCarriesWork());
    ui.answers.push_back(MessageAnswer::Yes);
    ASSERT_TRUE(Select("journal_split_last.txt"));
    EXPECT_TRUE(flow.taxation() == Taxation::Soll);
    EXPECT_EQ(flow.vatReportPath(), "");
    EXPECT_EQ(ui.vatControlsEnabled, std::optional<bool>(false));
    EXPECT_EQ(flow.store().cashBasisApplied, 0);
}

// A journal named without the dialog (the command line's FILE, a drop) is
// opened as the dialog's choice would be: the same question before work is
// discarded, and nothing changes on "Nein".
TEST_F(WorkflowJournalTest, OpenByPathAsksLikeTheDialog) {
    ASSERT_TRUE(flow.OnOpenJournal(kFolder + "/journal_split_first.txt"));
    EXPECT_TRUE(ui.fileRequests.empty());
    EXPECT_TRUE(ui.questions.empty());
    WorkflowTestAccess::Store(flow).accountsReplaced = 1;
    EXPECT_FALSE(flow.OnOpenJournal(kFolder + "/journal_account_without_number.txt"));
    EXPECT_EQ(ui.questions, std::vector<QuestionId>{QuestionId::ReloadJournal});
    EXPECT_EQ(flow.journalPath(), kFolder + "/journal_split_first.txt");
    ui.answers.push_back(MessageAnswer::Yes);
    EXPECT_TRUE(flow.OnOpenJournal(kFolder + "/journal_account_without_number.txt"));
    EXPECT_EQ(flow.store().bookingCount, 3);
}

// IST chosen before any report was imported has nothing a load undoes: the
// choice stays, as the window remembers it between runs.
TEST_F(WorkflowJournalTest, IstChoiceWithoutReportSurvivesTheLoad) {
    flow.OnTaxationIst();
    ASSERT_TRUE(Select("journal_split_first.txt"));
    EXPECT_TRUE(flow.taxation() == Taxation::Ist);
    EXPECT_EQ(ui.vatControlsEnabled, std::optional<bool>(true));
    EXPECT_EQ(flow.Describe().taxation, "IST: MwSt-Bericht noch nicht geladen");
}

// Each step's state in words follows the work, and a reload clears what it
// undoes.
TEST_F(WorkflowJournalTest, StepStatesTellWhatWasDone) {
    EXPECT_EQ(flow.Describe().journal, "kein Journal geladen");
    ASSERT_TRUE(Select("journal_account_without_number.txt"));
    StepStates s = flow.Describe();
    EXPECT_EQ(s.journal, "geladen: 3 Buchungen, 2 mit Konto 0");
    EXPECT_EQ(s.taxation, "SOLL: keine Umdatierung");
    EXPECT_EQ(s.accounts, "");
    EXPECT_EQ(s.exported, "");
    flow.DeleteZeroAccountBookings();
    test::TempDir dir;
    ASSERT_TRUE(flow.ExportLexware(dir.File("out.txt")));
    s = flow.Describe();
    EXPECT_EQ(s.journal, "geladen: 1 Buchungen, 0 mit Konto 0");
    EXPECT_EQ(s.exported, "exportiert: " + dir.File("out.txt") + ", 1 Buchungen");
    WorkflowTestAccess::Store(flow).accountsReplaced = 1;
    ui.editAnswers.push_back(true);
    flow.OnListDoubleClick(0);
    EXPECT_EQ(flow.Describe().exported,
              "exportiert: " + dir.File("out.txt") + ", 1 Buchungen (danach geändert)");
    EXPECT_EQ(flow.Describe().accounts, "Konten ersetzt: 0 Soll, 0 Haben");
    ui.answers.push_back(MessageAnswer::Yes);
    ASSERT_TRUE(Select("journal_split_first.txt"));
    s = flow.Describe();
    EXPECT_EQ(s.journal, "geladen: 2 Buchungen, 0 mit Konto 0");
    EXPECT_EQ(s.accounts, "");
    EXPECT_EQ(s.exported, "");
}

// Leaving with work that no export holds asks its own question (Enter
// answers it "Nein"); an export ends that.
TEST_F(WorkflowJournalTest, QuitAsksAboutWorkNotExported) {
    ASSERT_TRUE(Select("journal_account_without_number.txt"));
    flow.OnQuit();
    flow.DeleteZeroAccountBookings();
    flow.OnQuit();
    EXPECT_EQ(ui.questions, (std::vector<QuestionId>{QuestionId::QuitProgram,
                                                     QuestionId::QuitWithUnexportedWork}));
    EXPECT_EQ(ui.Last().text,
              "Die Bearbeitung des Journals wurde noch nicht exportiert.\n"
              "Wollen Sie das Programm wirklich beenden?");
    EXPECT_TRUE(DefaultsToNo(QuestionId::QuitWithUnexportedWork));
    test::TempDir dir;
    EXPECT_TRUE(flow.ExportLexware(dir.File("out.txt")));
    flow.OnQuit();
    EXPECT_EQ(ui.questions.back(), QuestionId::QuitProgram);
}

TEST_F(WorkflowJournalTest, CurrencyChoiceReachesTheBookings) {
    flow.OnCurrency(Currency::DM);
    ASSERT_TRUE(Select("journal_split_first.txt"));
    EXPECT_STREQ(flow.store()[0].currency, "DM");
}

TEST_F(WorkflowJournalTest, DeleteZeroRemovesTheMarkedBookingsAndRefillsWithoutMarks) {
    ASSERT_TRUE(Select("journal_account_without_number.txt"));
    flow.OnDeleteZeroBookings();
    EXPECT_EQ(flow.store().bookingCount, 1);
    EXPECT_EQ(ui.Last().text, "Insgesamt wurden 2 NULL-Buchungen gelöscht.");
    EXPECT_TRUE(ui.lastMarked.empty());
}

// A date changed in the editor sorts the store by date again (equal dates
// in their store order) and the mark follows the edited booking.
struct RedateCase {
    const char* name;
    int edited;                  // index of the booking edited
    const char* date;            // its new date
    std::vector<int32_t> order;  // booking numbers afterwards
    int marked;                  // the marked line afterwards
    int sorts;                   // sort windows shown
};

std::ostream& operator<<(std::ostream& os, const RedateCase& c) { return os << c.name; }

class EditorDateChange : public WorkflowJournalTest,
                         public ::testing::WithParamInterface<RedateCase> {};

TEST_P(EditorDateChange, KeepsTheStoreInDateOrder) {
    const RedateCase& c = GetParam();
    // Booking numbers 1..5 on 01.01., 02.01., 02.01., 03.01., 04.01.2025.
    const char* dates[] = {"01.01.2025", "02.01.2025", "02.01.2025", "03.01.2025", "04.01.2025"};
    for (int i = 0; i < 5; ++i) {
        BookingRecord b{};
        b.bookingNo = i + 1;
        SetField(b.date, dates[i]);
        test::Append(WorkflowTestAccess::Store(flow), b);
    }
    ui.editAnswers.push_back(true);
    const std::string date = c.date;
    ui.editAction = [&date](BookingRecord& b) { SetField(b.date, date); };
    flow.OnListDoubleClick(c.edited);
    std::vector<int32_t> order;
    for (int32_t i = 0; i < flow.store().bookingCount; ++i) {
        order.push_back(flow.store()[i].bookingNo);
    }
    EXPECT_EQ(order, c.order);
    EXPECT_EQ(ui.lastMarked, std::vector<int>{c.marked});
    EXPECT_EQ(flow.store()[c.marked].bookingNo, c.edited + 1);
    EXPECT_EQ(ui.sortsStarted, c.sorts);
    EXPECT_EQ(ui.sortsFinished, c.sorts);
    EXPECT_TRUE(ui.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Dates, EditorDateChange,
    ::testing::Values(
        RedateCase{"Unchanged", 2, "02.01.2025", {1, 2, 3, 4, 5}, 2, 0},
        RedateCase{"ToTheEnd", 0, "31.12.2025", {2, 3, 4, 5, 1}, 4, 1},
        RedateCase{"ToTheStart", 4, "31.12.2024", {5, 1, 2, 3, 4}, 0, 1},
        RedateCase{"StaysBeforeLaterOfTheSameDate", 0, "02.01.2025", {1, 2, 3, 4, 5}, 0, 1},
        RedateCase{"StaysAfterEarlierOfTheSameDate", 4, "02.01.2025", {1, 2, 3, 5, 4}, 3, 1},
        RedateCase{"NextYear", 1, "01.01.2026", {1, 3, 4, 5, 2}, 4, 1}),
    [](const ::testing::TestParamInfo<RedateCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace belvaron
