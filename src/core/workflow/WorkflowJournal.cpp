#include "core/workflow/WorkflowMessages.h"
#include "core/base/Format.h"
#include "core/base/TracePoint.h"
#include "core/workflow/Workflow.h"
#include "core/bookings/BookingOperations.h"

namespace belvaron {

bool Workflow::OnSelectJournal() {
    FileDialogRequest request;
    request.purpose = FilePurpose::Journal;
    request.defaultExtension = "txt";
    request.initialName = "*.txt";
    request.filter = msg::kJournalFilter;
    request.fileMustExist = true;
    const auto chosen = ui_.ChooseFile(request);
    if (!chosen) {
        ui_.RefreshControls();
        return false;
    }
    journalPath = *chosen;
    store.bookingCount = 0;
    ui_.ListCleared();
    try {
        vatRows.count = 0;
        const JournalOutcome outcome = LoadJournal(store, importGrid, journalPath, currency, ui_);
        if (outcome.loaded) ShowJournalSummary(ui_, outcome);
    } catch (...) {
        ShowException(msg::kE106);
        return false;
    }
    store.accountsReplaced = false;
    store.cashBasisApplied = false;
    try {
        SortByDate(store, ui_);
    } catch (...) {
        ShowException(msg::kE107);
    }
    try {
        RefillList(true);
        SetDefaultTargets();
    } catch (...) {
        ShowException(msg::kE108);
        return false;
    }
    ui_.RefreshControls();
    return store.journalLoaded;
}

void Workflow::OnDeleteZeroBookings() {
    ui_.ListCleared();
    try {
        const int32_t removed = DeleteZeroAccountBookings(store);
        ShowInfo(ui_, Format(msg::kZeroBookingsDeleted, removed));
    } catch (...) {
        ShowException(msg::kE110Delete);
        return;
    }
    RefillList(false);
}

void Workflow::OnListDoubleClick(int index) {
    if (index < 0 || index >= store.bookingCount) return;
    if (!ui_.EditBooking(store, index)) return;
    ui_.ListCleared();
    const int marked[] = {index};
    ui_.ListRefilled(store, marked);
}

}  // namespace belvaron
