#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/base/Notices.h"
#include "core/base/Progress.h"

namespace belvaron {

class BookingStore;
class VatRows;

// The largest VAT detail report read.
inline constexpr std::size_t kMaxVatReportBytes = std::size_t{256} << 20;

// How the import of a VAT detail report ended.
struct VatImportOutcome {
    bool read = false;       // the file was read to its end
    bool cancelled = false;  // through the progress: the rows as before
    // In the order met: the conversion notice of a UTF-8 or UTF-16 report,
    // then the error that stopped the import (E:220 ... E:226).
    Notices notices;
};

// Reads the VAT detail report at `path`, appending its data rows to `rows`.
// A file that is not a regular file or is larger than kMaxVatReportBytes is
// refused with E:221; UTF-16 and UTF-8 text is read as Windows-1252. After
// an error the rows read before it stay. `progress` ticks in bytes of the
// report; a cancelled import has no error (only a conversion notice met
// before the cancel) and leaves `rows` as they were before the call.
VatImportOutcome ImportVatReport(VatRows& rows, const std::string& path,
                                 const Progress* progress = nullptr);

// How a cash-basis re-dating ended. The lists hold booking numbers in the
// order of the report's rows and of the store.
struct VatRedateOutcome {
    bool complete = false;   // ran to its end
    bool cancelled = false;  // through the progress: the store as before, no log
    int32_t redated = 0;     // rows that reached a booking
    int32_t missing = 0;     // rows with an amount that reached no booking
    std::vector<int32_t> missingNumbers;
    int32_t zeroed = 0;  // VAT bookings that no payment reached, set to "0,00"
    std::vector<int32_t> zeroedNumbers;
    std::string logPath;  // as given to RedateVatBookings
    int logError = 0;     // the log could not be written completely: errno, 0 when it was
    Notices notices;      // the error that stopped it (E:227 ... E:229, E:232)
};

// Re-dates the VAT bookings of the store to the payments in `rows`, writes
// the log "error_mwst.log" to `logPath` and sets unpaid VAT bookings to
// "0,00". A run to its end has no error: its messages are
// VatRedateSummary. Not complete, after E:232, when there are no rows.
// `progress` ticks in rows; a cancel puts the store back as it was before
// the call (re-dated bookings, copies, amounts), has no error and leaves
// the old log in place.
VatRedateOutcome RedateVatBookings(BookingStore& store, const VatRows& rows,
                                   const std::string& logPath, const Progress* progress = nullptr);

// The messages of a complete re-dating: the count (or E:230 with the rows
// that reached no booking), then E:231 when VAT bookings were zeroed, then
// E:234 when the log could not be written. E:230 and E:231 list at most
// kShownBookingNumbers booking numbers, the rest by their count and the log
// that holds them all; they name the log by its full path.
Notices VatRedateSummary(const VatRedateOutcome& outcome);

}  // namespace belvaron
