#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/base/Notices.h"
#include "core/base/Progress.h"
#include "core/datev/DatevSettings.h"
#include "core/datev/csv/CsvBatches.h"
#include "core/datev/csv/CsvCheck.h"

namespace belvaron {

class BookingStore;
struct DatevRange;

// The DATEV-Format (CSV) export: booking batches
// "EXTF_Buchungsstapel_<vom YYYYMMDD>_<bis YYYYMMDD>.csv" that DATEV
// imports today. A range is cut into one batch per fiscal year and calendar
// year, or per month (DatevSettings::batchPeriod; see csv::PlanBatches),
// each file named by its own Datum vom/bis. A batch of more than
// kMaxBookingsPerFile bookings is cut at month boundaries; only a single
// month over the limit gives numbered files of one range: the first keeps
// the name, the next ones end in "_2.csv", "_3.csv", ...; files of that
// numbering left from an earlier, larger export of the same range are
// removed once the new batches are in place.
//
// A run is a plan (PlanDatevCsv: the checks and the batches, nothing
// written), then its write (WriteCsvPlan, RunCsvPlan), so that a caller can
// ask between the two about the files the write would replace or remove
// (CsvFilePaths). WriteDatevCsv and RunCsvExport do both in one call.
//
// A booking line carries the document number (reduced to DATEV's character
// set, else the booking number) in Belegfeld 1, the booking number in
// Beleginfo 1 ("Buchungsnummer") and, when "(beleg)name,purpose" is longer
// than the 60-byte Buchungstext, the whole text in Beleginfo 2
// ("Buchungstext").
//
// TracePoint stages: 3061 checks, 3062 bookings checked, 3063 files opened
// and header lines, 3064 booking lines, 3065 files committed, 3066 files of
// an earlier batch removed.

inline constexpr int kMaxBookingsPerFile = 99'999;

// What the export run knows besides the settings and the store.
struct CsvRunOptions {
    std::string createdAt;         // header "Erzeugt am", 17 digits; empty: CsvCreationTime()
    csv::ChartInfo chart;          // the chart file chosen in the main window
    std::string currency = "EUR";  // header WKZ, the default of the booking lines
    // The most bookings one file holds: DATEV's limit, unless a test needs a
    // smaller one (0 counts as 1).
    std::size_t maxBookingsPerFile = kMaxBookingsPerFile;
};

// The creation time "YYYYMMDDHHMMSSmmm": from SOURCE_DATE_EPOCH (seconds
// since 1970-01-01 UTC, milliseconds 000) when that holds a number, else the
// clock in local time.
std::string CsvCreationTime();

// Options for the chart file `chartName` chosen in the main window, read
// from `chartPath`: its variant and, when the file can be read, its
// automatic accounts. No chart (empty name) or an unreadable file gives no
// automatic-account warnings.
CsvRunOptions MakeCsvRunOptions(const std::string& chartName, const std::string& chartPath);

// The file name of part `part` (1-based) of the batch for the range.
std::string CsvFileName(int32_t fromKey, int32_t toKey, int part);

// What a run would write, known before anything is written: the check's
// outcome and, when it found no error, the batches. The plan refers to the
// bookings by their store index: the store must not change between the plan
// and its write.
struct CsvPlan {
    DatevSettings settings;
    CsvRunOptions options;
    std::string folder;
    csv::CsvCheckResult check;
    std::vector<csv::CsvBatch> batches;  // none when the check found errors
    // E:313 when the check found errors, else E:314 when it found warnings,
    // else nothing.
    Notices notices;

    // False after check errors: nothing may be written.
    bool writable() const { return check.errors.empty(); }
};

// Checks the bookings of dateFrom..dateTo (DD.MM.YYYY) and plans their
// batches into `folder`. Nothing is written or shown.
CsvPlan PlanDatevCsv(const BookingStore& store, const DatevSettings& settings,
                     const std::string& dateFrom, const std::string& dateTo,
                     const std::string& folder, const CsvRunOptions& options);

// Every path the write of `plan` would replace or remove: the file of each
// batch in order, whether it exists or not, and after the last part of a
// batch the later parts of an earlier, larger export of its range that exist
// now (the write removes them). None for a plan that is not writable.
std::vector<std::string> CsvFilePaths(const CsvPlan& plan);

struct DatevCsvResult {
    enum class Outcome { Written, CheckFailed, WriteFailed, Cancelled };
    Outcome outcome = Outcome::CheckFailed;
    int written = 0;                 // bookings written
    int zeroLeftOut = 0;             // bookings of the range with amount 0, not written
    std::vector<std::string> files;  // paths written, in order
    // The messages of the run in order, none when cancelled: after
    // WriteCsvPlan E:315 when a file could not be written, after RunCsvPlan
    // also the success message or E:117; WriteDatevCsv and RunCsvExport put
    // the plan's E:313 or E:314 first.
    Notices notices;
};

// Writes the batches of `plan` (nothing, CheckFailed, when it is not
// writable): a file that cannot be written gives E:315. All files of the run
// are written completely before any replaces an existing one. `progress`
// ticks in bookings written; a cancelled run has no messages, removes its new
// files and leaves every existing file as it was. No final message.
DatevCsvResult WriteCsvPlan(const BookingStore& store, const CsvPlan& plan,
                            const Progress* progress = nullptr);

// WriteCsvPlan, then the success message (Information) with the files
// written (and the count of bookings with amount 0 left out), or E:117 with
// the count when a file could not be written; nothing more after a cancel.
// Written when the batch was written.
DatevCsvResult RunCsvPlan(const BookingStore& store, const CsvPlan& plan,
                          const Progress* progress = nullptr);

// PlanDatevCsv, then WriteCsvPlan: check errors give one E:313 message and
// nothing is written; the plan's messages come first.
DatevCsvResult WriteDatevCsv(const BookingStore& store, const DatevSettings& settings,
                             const std::string& dateFrom, const std::string& dateTo,
                             const std::string& folder, const CsvRunOptions& options,
                             const Progress* progress = nullptr);

// PlanDatevCsv with the settings and the range, then RunCsvPlan; the
// plan's messages come first.
DatevCsvResult RunCsvExport(const BookingStore& store, const DatevSettings& settings,
                            const DatevRange& range, const std::string& folder,
                            const CsvRunOptions& options, const Progress* progress = nullptr);

}  // namespace belvaron
