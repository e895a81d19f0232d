#include <optional>

#include "core/base/Format.h"
#include "core/base/TracePoint.h"
#include "core/platform/Files.h"
#include "core/vat/VatImport.h"
#include "core/vat/VatMessages.h"
#include "core/workflow/SortWindow.h"
#include "core/workflow/StepScope.h"
#include "core/workflow/Workflow.h"
#include "core/workflow/WorkflowMessages.h"

namespace belvaron {

void Workflow::ChooseTaxation(Taxation taxation) {
    taxation_ = taxation;
    ui_.SetVatControlsEnabled(taxation == Taxation::Ist);
}

void Workflow::OnTaxationIst() { ChooseTaxation(Taxation::Ist); }

// Switching back to accrual taxation cannot undo a re-dating: it only warns,
// and the choice is SOLL either way.
void Workflow::OnTaxationSoll() {
    ChooseTaxation(Taxation::Soll);
    if (store_.cashBasisApplied) ShowPlain(ui_, msg::kE124);
}

// The re-dating of the store to the imported rows, its log in the data
// folder beside the other files the program writes for the user; true when
// it ran to its end (its summary then shown). A report that was read but
// holds no VAT row is reported by the re-dating (it may be the wrong
// report) and fails; one that could not be read was reported already.
bool Workflow::Redate(bool reportRead, const Progress* progress) {
    if (vatRows_.count <= 0 && !reportRead) return false;
    const std::string logPath = platform::JoinPath(folders_.DataFolder(), msg::kVatLogName);
    const VatRedateOutcome outcome = RedateVatBookings(store_, vatRows_, logPath, progress);
    ShowNotices(ui_, outcome.notices);
    if (outcome.complete) ShowNotices(ui_, VatRedateSummary(outcome));
    redatedCount_ = outcome.redated;
    return outcome.complete;
}

// The gates of step 4's "Auswahl"; true when a report may be imported.
bool Workflow::VatReportAllowed() {
    if (!store_.journalLoaded) {
        ShowPlain(ui_, Format(msg::kNoJournal, msg::kGateVatReport));
        return false;
    }
    if (store_.accountsReplaced) {
        ShowPlain(ui_, msg::kE123);
        return false;
    }
    if (vatRows_.count > 0) {
        ShowPlain(ui_, msg::kE135);
        return false;
    }
    return true;
}

bool Workflow::OnSelectVatReport() {
    if (!VatReportAllowed()) return false;
    FileDialogRequest request;
    request.defaultExtension = "txt";
    request.initialName = "*.txt";
    request.filter = msg::kVatReportFilter;
    request.fileMustExist = true;
    const auto chosen = ui_.ChooseFile(request);
    if (!chosen) {
        ui_.RefreshControls();
        return false;
    }
    return ImportVatReport(*chosen);
}

// True when the re-dating ran to its end and the list shows its result.
bool Workflow::ImportVatReport(const std::string& path) {
    if (taxation_ != Taxation::Ist) ChooseTaxation(Taxation::Ist);
    if (!VatReportAllowed()) return false;
    vatReportPath_ = path;
    std::optional<StepScope> step(std::in_place, ui_, msg::kStepVatReport);
    bool reportRead = false;
    try {
        // The re-dating uses whatever rows the import kept.
        const VatImportOutcome imported =
            belvaron::ImportVatReport(vatRows_, path, step->progress());
        ShowNotices(ui_, imported.notices);
        reportRead = imported.read;
    } catch (...) {
        ShowException(msg::kE119, TracePoint);
        return false;
    }
    bool redated = false;
    try {
        if (!step->cancelled()) redated = Redate(reportRead, step->progress());
    } catch (...) {
        ShowException(msg::kE120, TracePoint);
        return false;
    }
    if (step->cancelled()) {
        // Import and re-dating undone: the report may be chosen again.
        vatRows_.count = 0;
        vatReportPath_.clear();
        step.reset();
        ui_.RefreshControls();
        return false;
    }
    step.reset();
    store_.cashBasisApplied = true;
    NoteWork(false);
    try {
        SortByDateInWindow(store_, ui_);
    } catch (...) {
        ShowException(msg::kE121, TracePoint);
    }
    try {
        ui_.ListCleared();
        RefillList(false);
        SetDefaultTargets();
    } catch (...) {
        ShowException(msg::kE122, TracePoint);
        return false;
    }
    ui_.RefreshControls();
    return redated;
}

}  // namespace belvaron
