#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/bookings/JournalImport.h"
#include "core/datev/DatevRange.h"
#include "core/datev/DatevSettings.h"
#include "core/workflow/WindowPort.h"
#include "core/workflow/Workflow.h"

namespace belvaron {

// One conversion without a window, built from the command line's options:
// which steps run and with what inputs. Run() performs the steps in the
// window's order (journal, VAT report, replace, check, delete-zero, DATEV
// export, Lexware export, list, update check), whatever order the inputs
// were given in, through the same Workflow steps the window uses.
struct ConversionJob {
    std::string journal;  // empty: no journal (only an update check)
    Currency currency = Currency::Euro;
    std::string dataFolder;     // the per-user data folder; empty: the documents folder
    std::string programFolder;  // the shipped defaults, ending with '/'
    std::optional<std::string> vatReport;
    bool replace = false;
    std::optional<std::string> chart;  // the account check against this chart file
    bool deleteZero = false;
    // The DATEV export into the folder of this path; a bare name means the
    // current folder.
    std::optional<std::string> datevTarget;
    std::optional<std::string> from, to;           // the export range; default: all bookings
    std::optional<DatevExportFormat> datevFormat;  // for this run, never saved
    std::optional<DatevBatchPeriod> datevBatch;    // saved with the settings
    std::optional<std::string> lexwareTarget;
    bool checkUpdate = false;

    // Receives the list lines of the bookings after the exports, in order,
    // in blocks of whole lines (UTF-8, each ended by '\n'); returns false
    // when the block could not be delivered (no further block follows).
    using ListSink = std::function<bool(std::string_view lines)>;

    struct Result {
        // The journal loaded (when one was given), every requested step
        // before the update check reported success, every list line was
        // delivered.
        bool stepsOk = true;
        // The update check's own result, when it ran (false also when an
        // offered update was declined: the caller decides what that means).
        std::optional<bool> updateCheck;
    };

    // Runs the job. `listSink` may be empty: then no list is produced.
    Result Run(WindowPort& ui, const ListSink& listSink = {}) const;
};

// The DATEV export's request for `job`: the settings file read (its messages
// shown; nullopt when it cannot be used), the store's booking range, then
// DatevExportInputs.
std::optional<DatevExportRequest> DatevRequest(const ConversionJob& job, Workflow& flow,
                                               WindowPort& ui);

// The DATEV export's inputs for `job` from the stored settings and the
// bookings' range: --from, --to and --datev-batch applied, every value
// checked by the settings dialog's field rules (and normalised as the dialog
// does: "1.2.25" is "01.02.2025"), the chart of --check for the CSV checks.
// nullopt after the message of the first field that fails.
std::optional<DatevExportRequest> DatevExportInputs(const ConversionJob& job,
                                                    DatevSettings settings, DatevRange range,
                                                    UiPort& ui);

// The list lines of every booking of `store` to `sink`, in blocks of whole
// lines (UTF-8, each ended by '\n'), formed on two threads and handed over
// in order on the calling thread; false once the sink refused a block.
bool DeliverList(const BookingStore& store, const ConversionJob::ListSink& sink);

}  // namespace belvaron
