#pragma once

#include <string>

#include "core/base/FileWriter.h"
#include "core/bookings/BookingRecord.h"
#include "core/vat/VatDetailRow.h"

namespace belvaron {

// Appends a number in decimal ("%d").
void AppendNumber(std::string& out, int32_t n);

// The two line layouts of the re-dating log, Windows-1252 bytes ending in
// CR LF; texts as stored, up to their terminator and at most their width.
std::string NoJournalBookingLine(const VatDetailRow& row);
std::string NoVatBookingLine(const BookingRecord& booking);

// The re-dating log "error_mwst.log". Open() starts an empty log; the lines
// go to a new file that Close() puts in place of the old one. A log that
// cannot be created is left out: the writes then do nothing.
class VatLog {
public:
    void Open(const std::string& path) { open_ = writer_.Open(path); }
    void Write(const std::string& line) {
        if (open_) writer_.Write(line);
    }
    // True when the log was written completely (false also when it could
    // not be created).
    bool Close();
    // errno (or kErrorNotRegularFile) of the first failure, 0 when none.
    int error() const { return writer_.error(); }

private:
    FileWriter writer_;
    bool open_ = false;
};

}  // namespace belvaron
