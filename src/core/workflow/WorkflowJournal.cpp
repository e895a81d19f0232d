#include "core/workflow/WorkflowMessages.h"
#include "core/base/Format.h"
#include "core/base/TracePoint.h"
#include "core/workflow/Workflow.h"

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
        store.LoadJournal(journalPath, currencyChoice);
    } catch (...) {
        ShowException(msg::kE106);
        return false;
    }
    store.accountsReplaced = 0;
    store.cashBasisApplied = 0;
    try {
        store.SortByDate();
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
    return store.journalLoaded != 0;
}

void Workflow::OnDeleteZeroBookings() {
    ui_.ListCleared();
    try {
        store.DeleteZeroAccountBookings();
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
