#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "FakeUi.h"
#include "Portable.h"
#include "TempDir.h"
#include "VatTestSupport.h"
#include "WorkflowTestAccess.h"
#include "core/base/DataFiles.h"
#include "core/base/FixedText.h"
#include "core/bookings/BookingOperations.h"
#include "core/workflow/Workflow.h"
#include "core/workflow/WorkflowMessages.h"

namespace belvaron {
namespace {

using test::AppendBooking;
using test::CrLf;
using test::MakeBooking;

// A FakeUi that throws once from a chosen place, for the handler's guards.
class ThrowingUi : public test::FakeUi {
public:
    std::string throwOnMessagePrefix;
    bool throwOnSort = false;
    bool throwOnRefill = false;

    MessageAnswer ShowMessage(std::string_view text, MessageIcon icon,
                              MessageButtons buttons) override {
        if (!throwOnMessagePrefix.empty() && text.starts_with(throwOnMessagePrefix)) {
            throwOnMessagePrefix.clear();
            throw std::runtime_error("ui");
        }
        return FakeUi::ShowMessage(text, icon, buttons);
    }
    void SortStarted(int total) override {
        FakeUi::SortStarted(total);
        if (throwOnSort) throw std::runtime_error("sort");
    }
    void ListRefilled(const BookingStore& store, std::span<const int> marked) override {
        FakeUi::ListRefilled(store, marked);
        if (throwOnRefill) throw std::runtime_error("list");
    }
};

constexpr const char* kHeader = "\tBuchungs-Nr.\tDatum\tKonto\tZahlbetrag";

class WorkflowVatTest : public ::testing::Test {
protected:
    WorkflowVatTest() {
        flow.SetDataFolderOverride(dir.File("data"));
        WorkflowTestAccess::SetJournalPath(flow, dir.File("journal.txt"));
        WorkflowTestAccess::Store(flow).journalLoaded = 1;
        // Booking 1 is paid in two parts, booking 2 not at all; booking 3 has no VAT.
        AppendBooking(WorkflowTestAccess::Store(flow),
                      MakeBooking(1, "02.01.2025", 1400, 2200, "190,00", "RE-1"));
        AppendBooking(WorkflowTestAccess::Store(flow),
                      MakeBooking(2, "03.01.2025", 1400, 2200, "19,00", "RE-2"));
        AppendBooking(WorkflowTestAccess::Store(flow),
                      MakeBooking(3, "04.01.2025", 1400, 8400, "100,00", "RE-3"));
    }
    std::string Report(const std::string& bytes) { return dir.Write("mwst.txt", bytes); }
    std::string GoodReport() {
        return Report(CrLf({kHeader, "\t1\t20.01.2025\t2200 Umsatzsteuer\t100,00",
                            "\t1\t10.02.2025\t2200 Umsatzsteuer\t90,00", "GESAMT"}));
    }

    test::TempDir dir;
    ThrowingUi ui;
    Workflow flow{ui};
};

TEST_F(WorkflowVatTest, FullRun) {
    ui.files.push_back(GoodReport());
    EXPECT_TRUE(flow.OnSelectVatReport());

    ASSERT_EQ(ui.fileRequests.size(), 1u);
    const FileDialogRequest& r = ui.fileRequests[0];
    EXPECT_EQ(r.filter, msg::kVatReportFilter);
    EXPECT_FALSE(r.saveAs);
    EXPECT_EQ(r.defaultExtension, "txt");
    EXPECT_EQ(r.initialName, "*.txt");
    EXPECT_EQ(r.filter, "TXT-Files (*.txt)|*.txt|ALL-Files (*.*)|*.*|");
    EXPECT_TRUE(r.fileMustExist);

    EXPECT_EQ(flow.vatReportPath(), dir.File("mwst.txt"));
    EXPECT_EQ(flow.vatRowCount(), 2);
    EXPECT_EQ(flow.store().cashBasisApplied, 1);
    // Sorted by date: 2 (zeroed, 03.01.), 3 (04.01.), 1 (20.01.), its copy (10.02.).
    ASSERT_EQ(flow.store().bookingCount, 4);
    EXPECT_EQ(flow.store()[0].bookingNo, 2);
    EXPECT_EQ(FieldText(flow.store()[0].amount), "0,00");
    EXPECT_EQ(flow.store()[1].bookingNo, 3);
    EXPECT_EQ(FieldText(flow.store()[2].date), "20.01.2025");
    EXPECT_EQ(FieldText(flow.store()[3].date), "10.02.2025");
    EXPECT_EQ(FormatListLine(flow.store(), 3).substr(0, 5), "*  1.");
    EXPECT_EQ(ui.sortsStarted, 1);
    EXPECT_EQ(ui.listClears, 1);
    EXPECT_EQ(ui.listRefills, 1);
    EXPECT_TRUE(ui.lastMarked.empty());
    EXPECT_EQ(flow.datevTargetPath(), dir.path() + test::kSep + "ED0001");
    EXPECT_EQ(flow.lexwareTargetPath(), dir.path() + test::kSep + "buchhalter.txt");
    EXPECT_EQ(ui.refreshes, 1);
    ASSERT_EQ(ui.messages.size(), 2u);
    EXPECT_EQ(ui.messages[0].text,
              "Bei 2 MwSt-Buchungen wurde das Datum geändert (IST-Besteuerung).");
    EXPECT_TRUE(ui.messages[1].text.starts_with("(E:231) ACHTUNG:\nBei 1 Journal-Buchungen"));
    EXPECT_EQ(test::ReadFile(dir.File("data/error_mwst.log")),
              "MwSt-IST-Abgleich: Keine MwSt-Buchung gefunden: Nr:2 Journal-Datum:03.01.2025 "
              "Beleg:RE-2\r\n");
}

TEST_F(WorkflowVatTest, ChosenTargetsStay) {
    flow.OnDatevTargetEdited("/x/ED0001");
    flow.OnLexwareTargetEdited("/x/b.txt");
    ui.files.push_back(GoodReport());
    flow.OnSelectVatReport();
    EXPECT_EQ(flow.datevTargetPath(), "/x/ED0001");
    EXPECT_EQ(flow.lexwareTargetPath(), "/x/b.txt");
}

struct GateCase {
    const char* name;
    int journalLoaded;
    int accountsReplaced;
    bool rowsLoaded;
    const char* message;
};

class WorkflowVatGateTest : public WorkflowVatTest,
                            public ::testing::WithParamInterface<GateCase> {};

TEST_P(WorkflowVatGateTest, RefusesAndChangesNothing) {
    WorkflowTestAccess::Store(flow).journalLoaded = GetParam().journalLoaded;
    WorkflowTestAccess::Store(flow).accountsReplaced = GetParam().accountsReplaced;
    if (GetParam().rowsLoaded)
        test::AppendRow(WorkflowTestAccess::Vat(flow),
                        test::MakeRow(1, "20.01.2025", 2200, "1,00"));
    ui.files.push_back(GoodReport());
    EXPECT_FALSE(flow.OnSelectVatReport());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.Last().text, GetParam().message);
    EXPECT_EQ(ui.Last().icon, MessageIcon::None);
    EXPECT_TRUE(ui.fileRequests.empty());
    EXPECT_EQ(flow.store().cashBasisApplied, 0);
    EXPECT_EQ(flow.store().bookingCount, 3);
    EXPECT_EQ(flow.store()[0].redated, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Gates, WorkflowVatGateTest,
    ::testing::Values(GateCase{"NoJournal", 0, 0, false,
                               "(E:118)\nBitte laden sie zuerst eine Journal-Datei (Punkt 3)."},
                      GateCase{
                          "AccountsReplaced", 1, 1, false,
                          "(E:123)\nFehler: Konten ersetzen wurde vor IST-Besteuerung gemacht!\n"
                          "Bitte laden sie zuerst wieder eine Journal-Datei (Punkt 3)."},
                      GateCase{"RowsLoaded", 1, 0, true,
                               "(E:135)\nMwSt-Datei wurde schon geladen!\nLaden Sie bitte zuerst "
                               "wieder das Journal."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WorkflowVatTest, CancelOnlyRefreshes) {
    EXPECT_FALSE(flow.OnSelectVatReport());
    EXPECT_EQ(ui.refreshes, 1);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(flow.store().cashBasisApplied, 0);
    EXPECT_EQ(ui.sortsStarted, 0);
    EXPECT_TRUE(flow.vatReportPath().empty());
}

TEST_F(WorkflowVatTest, HeaderOnlyReportIsReportedAndStillSetsTheFlagAndSorts) {
    ui.files.push_back(Report(CrLf({kHeader})));
    EXPECT_FALSE(flow.OnSelectVatReport());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.Last().text.starts_with("(E:232)")) << ui.Last().text;
    EXPECT_EQ(flow.store().cashBasisApplied, 1);
    EXPECT_EQ(ui.sortsStarted, 1);
    EXPECT_EQ(ui.listRefills, 1);
    EXPECT_FALSE(FileExists(dir.File("data/error_mwst.log")));
    EXPECT_EQ(FieldText(flow.store()[1].amount), "19,00");
}

TEST_F(WorkflowVatTest, DifferentAccountsChangeNoBookingButSetTheFlag) {
    ui.files.push_back(
        Report(CrLf({kHeader, "\t1\t20.01.2025\t2200\t1,00", "\t2\t21.01.2025\t1776\t1,00"})));
    EXPECT_FALSE(flow.OnSelectVatReport());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.Last().text.starts_with("(E:227)\n"));
    EXPECT_EQ(flow.store().cashBasisApplied, 1);
    EXPECT_EQ(flow.vatRowCount(), 2);
    EXPECT_EQ(FieldText(flow.store()[0].date), "02.01.2025");
    EXPECT_EQ(ui.sortsStarted, 1);
}

TEST_F(WorkflowVatTest, MissingReportIsReportedAndTheRunGoesOn) {
    ui.files.push_back(dir.File("fehlt.txt"));
    EXPECT_FALSE(flow.OnSelectVatReport());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.Last().text.starts_with("(E:220)\n"));
    EXPECT_EQ(flow.store().cashBasisApplied, 1);
}

TEST_F(WorkflowVatTest, ExceptionInImportGivesE119AndStops) {
    ui.throwOnMessagePrefix = "(E:220)";
    ui.files.push_back(dir.File("fehlt.txt"));
    EXPECT_FALSE(flow.OnSelectVatReport());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.Last().text, "(E:119#2050)\nException: Fehler beim Einlesen der Datei.");
    EXPECT_EQ(flow.store().cashBasisApplied, 0);
    EXPECT_EQ(ui.sortsStarted, 0);
}

TEST_F(WorkflowVatTest, ExceptionInRedatingGivesE120AndStops) {
    ui.throwOnMessagePrefix = "Bei ";
    ui.files.push_back(GoodReport());
    EXPECT_FALSE(flow.OnSelectVatReport());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.Last().text.starts_with("(E:120#"));
    EXPECT_TRUE(ui.Last().text.ends_with(")\nException: Fehler beim MwSt-IST-Abgleich."));
    EXPECT_EQ(flow.store().cashBasisApplied, 0);
    EXPECT_EQ(ui.listRefills, 0);
}

TEST_F(WorkflowVatTest, ExceptionInSortGivesE121AndTheListIsStillFilled) {
    ui.throwOnSort = true;
    ui.files.push_back(GoodReport());
    EXPECT_TRUE(flow.OnSelectVatReport());
    EXPECT_EQ(ui.Last().text, "(E:121#2044)\nException: Fehler beim Sortieren der Daten.");
    EXPECT_EQ(ui.listRefills, 1);
    EXPECT_EQ(flow.datevTargetPath(), dir.path() + test::kSep + "ED0001");
    EXPECT_EQ(ui.refreshes, 1);
}

TEST_F(WorkflowVatTest, ExceptionInDisplayGivesE122AndStops) {
    ui.throwOnRefill = true;
    ui.files.push_back(GoodReport());
    EXPECT_FALSE(flow.OnSelectVatReport());
    EXPECT_TRUE(ui.Last().text.starts_with("(E:122#"));
    EXPECT_TRUE(ui.Last().text.ends_with(")\nException: Fehler beim Anzeigen der Daten."));
    EXPECT_EQ(ui.refreshes, 0);
    EXPECT_EQ(flow.store().cashBasisApplied, 1);
}

TEST_F(WorkflowVatTest, TaxationRadioButtons) {
    flow.OnTaxationIst();
    EXPECT_EQ(flow.taxation(), Taxation::Ist);
    EXPECT_EQ(ui.vatControlsEnabled, true);
    flow.OnTaxationSoll();
    EXPECT_EQ(flow.taxation(), Taxation::Soll);
    EXPECT_EQ(ui.vatControlsEnabled, false);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(WorkflowVatTest, SollAfterTheRedatingWarnsAndStaysOnSoll) {
    flow.OnTaxationIst();
    ui.files.push_back(GoodReport());
    flow.OnSelectVatReport();
    ui.messages.clear();
    flow.OnTaxationSoll();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.Last().text,
              "(E:124)\nFehler: Konten wurden für IST-Besteuerung angepasst!\n"
              "Dieser Vorgang kann nicht rückgängig gemacht werden.\n"
              "Bitte laden sie dafür wieder die Journal-Datei (Punkt 3).");
    EXPECT_EQ(flow.taxation(), Taxation::Soll);
    EXPECT_EQ(ui.vatControlsEnabled, false);
    EXPECT_EQ(flow.store()[2].redated, 1);

    flow.OnTaxationIst();
    EXPECT_EQ(ui.vatControlsEnabled, true);
    ui.files.push_back(GoodReport());
    EXPECT_FALSE(flow.OnSelectVatReport());
    EXPECT_TRUE(ui.Last().text.starts_with("(E:135)\n"));
}

}  // namespace
}  // namespace belvaron
