#include "core/workflow/WorkflowMessages.h"
#include "core/base/Format.h"
#include "core/base/TracePoint.h"
#include "core/workflow/Workflow.h"

namespace belvaron {

void Workflow::OnTaxationIst() {
    taxationChoice = 1;
    ui_.SetVatControlsEnabled(true);
}

// Switching back to accrual taxation cannot undo a re-dating: it only warns,
// and the choice is SOLL either way.
void Workflow::OnTaxationSoll() {
    taxationChoice = 0;
    ui_.SetVatControlsEnabled(false);
    if (store.cashBasisApplied) ShowPlain(ui_, msg::kE124);
}

// True when the re-dating ran to its end and the list shows its result.
bool Workflow::OnSelectVatReport() {
    if (!store.journalLoaded) {
        ShowPlain(ui_, Format(msg::kNoJournal, msg::kGateVatReport));
        return false;
    }
    if (store.accountsReplaced) {
        ShowPlain(ui_, msg::kE123);
        return false;
    }
    if (store.vatRowCount > 0) {
        ShowPlain(ui_, msg::kE135);
        return false;
    }
    FileDialogRequest request;
    request.purpose = FilePurpose::VatReport;
    request.defaultExtension = "txt";
    request.initialName = "*.txt";
    request.filter = msg::kVatReportFilter;
    request.fileMustExist = true;
    const auto chosen = ui_.ChooseFile(request);
    if (!chosen) {
        ui_.RefreshControls();
        return false;
    }
    vatReportPath = *chosen;
    try {
        store.ImportVatReport(vatReportPath);  // the re-dating uses whatever rows it kept
    } catch (...) {
        ShowException(msg::kE119);
        return false;
    }
    bool redated = false;
    try {
        redated = store.RedateVatBookings();
    } catch (...) {
        ShowException(msg::kE120);
        return false;
    }
    store.cashBasisApplied = 1;
    try {
        store.SortByDate();
    } catch (...) {
        ShowException(msg::kE121);
    }
    try {
        ui_.ListCleared();
        RefillList(false);
        SetDefaultTargets();
    } catch (...) {
        ShowException(msg::kE122);
        return false;
    }
    ui_.RefreshControls();
    return redated;
}

}  // namespace belvaron
