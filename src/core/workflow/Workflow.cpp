#include "core/workflow/Workflow.h"

#include "core/workflow/WorkflowMessages.h"
#include "core/base/DataFiles.h"
#include "core/base/Format.h"
#include "core/base/TracePoint.h"
#include "core/vat/VatMessages.h"

namespace belvaron {

namespace {

// Shows E:201, E:211 and E:2-- for each reservation that failed.
void ReportReservations(UiPort& ui, const BookingStore& store, const ImportGrid& grid,
                           const VatRows& vatRows) {
    if (!store.ok()) ShowPlain(ui, msg::kE201);
    TracePoint = 2002;
    if (!grid.ok()) ShowPlain(ui, msg::kE211);
    TracePoint = 2003;
    if (!vatRows.ok()) ShowPlain(ui, msg::kE2xx);
}

}  // namespace

Workflow::Workflow(UiPort& ui) : folders(ui), ui_(ui) {
    ReportReservations(ui, store, importGrid, vatRows);
}

std::string Workflow::TitleText() { return std::string("Belvaron (") + BELVARON_VERSION + ")"; }

void Workflow::OnInitDialog(const std::string& programFolder) {
    folders.programFolder = programFolder;
    currency = Currency::Euro;
    taxation = Taxation::Soll;
    replaceTextModified = false;
    store.accountsReplaced = false;
    replaceText = LoadReplaceText();
    chartFiles = ChartFileNames();
    chartFileIndex = chartFiles.size() > 1 ? 1 : (chartFiles.empty() ? -1 : 0);
    ui_.SetVatControlsEnabled(false);
    ui_.RefreshControls();
}

std::vector<std::string> Workflow::ChartFileNames() const { return folders.ChartFileNames(); }

std::string Workflow::SelectedChartName() const {
    if (chartFileIndex < 0 || chartFileIndex >= static_cast<int>(chartFiles.size())) return {};
    return chartFiles[static_cast<std::size_t>(chartFileIndex)];
}

std::string Workflow::HelpFolder() { return folders.Resolve(""); }

bool Workflow::OnCancel() { return AskYesNo(ui_, QuestionId::QuitProgram, msg::kQuit); }

void Workflow::RefillList(bool markZeroAccounts) {
    std::vector<int> marked;
    if (markZeroAccounts) {
        for (int32_t i = 0; i < store.bookingCount; ++i) {
            if (store[i].sollAccount == 0 || store[i].habenAccount == 0) marked.push_back(i);
        }
    }
    ui_.ListRefilled(store, marked);
}

void Workflow::SetDefaultTargets() {
    if (datevTargetPath.empty()) datevTargetPath = FolderOfPath(journalPath) + "/ED0001";
    if (lexwareTargetPath.empty()) lexwareTargetPath = FolderOfPath(journalPath) + "/buchhalter.txt";
}

void Workflow::ShowException(const char* format) { ShowPlain(ui_, Format(format, TracePoint)); }

}  // namespace belvaron
