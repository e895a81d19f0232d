#pragma once

#include <optional>
#include <span>
#include <string>

#include "core/base/Progress.h"
#include "core/base/UiPort.h"
#include "core/bookings/BookingRecord.h"

namespace belvaron {

class BookingStore;
struct DatevRange;
struct DatevSettings;

// The UI port of the main window: what the workflow's handlers need of a
// window besides messages, questions and file choices. The desktop program
// draws them; the command line and the tests implement them without a
// screen.
class WindowPort : public UiPort {
public:
    // The booking list: emptied, or refilled from the store (line i shows
    // booking i); `marked` holds the indices of the lines to mark, ascending.
    virtual void ListCleared() = 0;
    virtual void ListRefilled(const BookingStore& store, std::span<const int> marked) = 0;

    // The window's controls are to show the workflow's state again.
    virtual void RefreshControls() = 0;

    // Step 4's hint, field and button enabled (IST) or disabled (SOLL).
    virtual void SetVatControlsEnabled(bool enabled) = 0;

    // The booking editor for `booking`, a copy the editor never writes
    // through: the edited booking when the user saved (its fields checked
    // and written by WriteEditorTexts), nothing when cancelled. The caller
    // puts a saved booking back into its store.
    virtual std::optional<BookingRecord> EditBooking(const BookingRecord& booking) = 0;

    // The DATEV settings dialog for the settings and the export range;
    // `chartName` is the chart file chosen in the main window ("SK3"/"SK4"
    // in it preselect the chart of accounts). True for "OK" (settings and
    // range then stored; the caller saves the settings), false for
    // "Abbrechen" (nothing changed).
    virtual bool EditDatevSettings(DatevSettings& settings, DatevRange& range,
                                   const std::string& chartName) = 0;

    // A step that may run long (a load, an import, an export) begins under
    // `title`; StepFinished follows it, also after an exception. The step
    // ticks the returned progress; a window shows it with "Abbrechen" once
    // the step has run for a moment, keeps painting while it runs, takes no
    // other input meanwhile and answers false once the user cancelled. Steps
    // do not nest. Without a window: a progress that never cancels.
    virtual Progress StepStarted(const std::string& title) {
        (void)title;
        return {};
    }
    virtual void StepFinished() {}
};

}  // namespace belvaron
