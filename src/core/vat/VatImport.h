#pragma once

#include <cstdint>
#include <string>

namespace belvaron {

class BookingStore;
class UiPort;
class VatRows;

// Reads the VAT detail report at `path`, appending its data rows to `rows`.
// True when the file was read to its end; every error (E:220 ... E:226) is
// shown through `ui`, and the rows read before it stay.
bool ImportVatReport(VatRows& rows, const std::string& path, UiPort& ui);

// How a cash-basis re-dating ended. The lists hold booking numbers, each
// followed by ','.
struct VatRedateOutcome {
    bool complete = false;  // ran to its end
    int32_t redated = 0;    // rows that reached a booking
    int32_t missing = 0;    // rows with an amount that reached no booking
    std::string missingList;
    int32_t zeroed = 0;  // VAT bookings that no payment reached, set to "0,00"
    std::string zeroedList;
};

// Re-dates the VAT bookings of the store to the payments in `rows`, writes
// the log "error_mwst.log" to `logPath` and sets unpaid VAT bookings to
// "0,00". Errors that stop it (E:227 ... E:229) are shown through `ui`; a
// run to its end shows nothing: the caller shows ShowVatRedateSummary.
// Not complete, without a message, when there are no rows.
VatRedateOutcome RedateVatBookings(BookingStore& store, const VatRows& rows,
                                   const std::string& logPath, UiPort& ui);

// The messages of a complete re-dating: the count (or E:230 with the rows
// that reached no booking), then E:231 when VAT bookings were zeroed.
void ShowVatRedateSummary(UiPort& ui, const VatRedateOutcome& outcome);

}  // namespace belvaron
