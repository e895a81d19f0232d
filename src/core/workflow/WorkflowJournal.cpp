#include "core/base/Format.h"
#include "core/base/TracePoint.h"
#include "core/bookings/BookingOperations.h"
#include "core/bookings/Dates.h"
#include "core/workflow/SortWindow.h"
#include "core/workflow/StepScope.h"
#include "core/workflow/Workflow.h"
#include "core/workflow/WorkflowMessages.h"

namespace belvaron {

bool Workflow::OnSelectJournal() {
    FileDialogRequest request;
    request.defaultExtension = "txt";
    request.initialName = "*.txt";
    request.filter = msg::kJournalFilter;
    request.fileMustExist = true;
    const auto chosen = ui_.ChooseFile(request);
    if (!chosen) {
        ui_.RefreshControls();
        return false;
    }
    return OnOpenJournal(*chosen);
}

bool Workflow::OnOpenJournal(const std::string& path) {
    if (journalCarriesWork() && !AskYesNo(ui_, QuestionId::ReloadJournal, msg::kReloadQuestion)) {
        ui_.RefreshControls();
        return false;
    }
    return LoadJournal(path, currency_);
}

bool Workflow::LoadJournal(const std::string& path, Currency currency) {
    journalPath_ = path;
    currency_ = currency;
    // The load undoes the re-dating: the choice that led to it goes too. An
    // IST choice without a report has nothing to undo and stays.
    if (store_.cashBasisApplied || !vatReportPath_.empty()) {
        taxation_ = Taxation::Soll;
        vatReportPath_.clear();
        ui_.SetVatControlsEnabled(false);
    }
    store_.bookingCount = 0;
    ui_.ListCleared();
    bool cancelled = false;
    try {
        vatRows_.count = 0;
        JournalOutcome outcome;
        {
            StepScope step(ui_, msg::kStepLoad);
            outcome = belvaron::LoadJournal(store_, importGrid_, path, currency, step.progress());
        }
        cancelled = outcome.cancelled;
        ShowNotices(ui_, outcome.notices);
        if (outcome.loaded) ShowNotices(ui_, JournalSummary(outcome));
    } catch (...) {
        ShowException(msg::kE106, TracePoint);
        return false;
    }
    store_.accountsReplaced = false;
    store_.cashBasisApplied = false;
    bookingsChanged_ = false;
    unexportedWork_ = false;
    redatedCount_ = 0;
    replacedSoll_ = replacedHaben_ = 0;
    checkedChart_.clear();
    exportState_.clear();
    if (cancelled) {
        // As before any load: no journal, an empty store and list.
        journalPath_.clear();
        ui_.RefreshControls();
        return false;
    }
    try {
        SortByDateInWindow(store_, ui_);
    } catch (...) {
        ShowException(msg::kE107, TracePoint);
    }
    try {
        RefillList(true);
        SetDefaultTargets();
    } catch (...) {
        ShowException(msg::kE108, TracePoint);
        return false;
    }
    ui_.RefreshControls();
    return store_.journalLoaded;
}

void Workflow::DeleteZeroAccountBookings() {
    ui_.ListCleared();
    try {
        const int32_t removed = belvaron::DeleteZeroAccountBookings(store_);
        if (removed > 0) NoteWork(true);
        ShowInfo(ui_, Format(msg::kZeroBookingsDeleted, removed));
    } catch (...) {
        ShowException(msg::kE110Delete, TracePoint);
        return;
    }
    RefillList(false);
}

namespace {

// The place the booking at `index` takes when the store is sorted by date:
// SortByDate keeps the store order of equal dates, so it follows every
// booking with a smaller date and every earlier one with the same date.
int32_t PlaceAfterSort(const BookingStore& store, int32_t index) {
    const int32_t key = DateKey(store[index].date);
    int32_t place = 0;
    for (int32_t i = 0; i < store.bookingCount; ++i) {
        const int32_t other = DateKey(store[i].date);
        if (other < key || (other == key && i < index)) ++place;
    }
    return place;
}

}  // namespace

void Workflow::OnListDoubleClick(int index) {
    if (index < 0 || index >= store_.bookingCount) return;
    const std::optional<BookingRecord> edited = ui_.EditBooking(store_[index]);
    if (!edited) return;
    const int32_t keyBefore = DateKey(store_[index].date);
    store_[index] = *edited;
    NoteWork(true);
    ui_.ListCleared();
    if (DateKey(store_[index].date) != keyBefore) {
        // The store stays in date order: the edited booking moves to its
        // date's place and stays marked there.
        try {
            const int32_t place = PlaceAfterSort(store_, index);
            SortByDateInWindow(store_, ui_);
            index = place;
        } catch (...) {
            ShowException(msg::kE107, TracePoint);
        }
    }
    const int marked[] = {index};
    ui_.ListRefilled(store_, marked);
}

}  // namespace belvaron
