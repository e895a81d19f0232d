#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeUi.h"
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
    EXPECT_EQ(flow.datevTargetPath(), kFolder + "/ED0001");
    EXPECT_EQ(flow.lexwareTargetPath(), "/chosen/out.txt");

    flow.OnDatevTargetEdited("/chosen/ED0001");
    Select("journal_split_last.txt");
    EXPECT_EQ(flow.datevTargetPath(), "/chosen/ED0001");
    EXPECT_EQ(flow.lexwareTargetPath(), "/chosen/out.txt");

    flow.OnLexwareTargetEdited("");
    Select("journal_split_last.txt");
    EXPECT_EQ(flow.lexwareTargetPath(), kFolder + "/buchhalter.txt");
}

TEST_F(WorkflowJournalTest, CancelLeavesEverythingAsItWas) {
    ASSERT_TRUE(Select("journal_split_first.txt"));
    flow.EditableStore().accountsReplaced = 1;
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
    flow.EditableStore().accountsReplaced = 1;
    flow.EditableStore().cashBasisApplied = 1;
    flow.EditableVatRows().count = 3;
    EXPECT_FALSE(Select("no_such_journal.txt"));
    EXPECT_EQ(ui.Last().text.rfind("(E:202)\n", 0), 0u);
    EXPECT_EQ(flow.store().bookingCount, 0);
    EXPECT_EQ(flow.store().journalLoaded, 0);
    EXPECT_EQ(flow.store().accountsReplaced, 0);
    EXPECT_EQ(flow.store().cashBasisApplied, 0);
    EXPECT_EQ(flow.EditableVatRows().count, 0);
    EXPECT_TRUE(ui.lastMarked.empty());

    EXPECT_FALSE(flow.OnExportLexware());
    EXPECT_EQ(ui.Last().text, "(E:104)\nBitte laden sie zuerst eine Journal-Datei (Punkt 3).");
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

}  // namespace
}  // namespace belvaron
