#pragma once

#include <string>

#include "core/base/Notices.h"
#include "core/base/Progress.h"
#include "core/bookings/BookingRecord.h"

namespace belvaron {

class BookingStore;

// The Lexware Buchhalter import file: a header line of fourteen quoted
// titles, then one line per booking; fields joined by '|', every line ending
// in CR LF, texts as the Windows-1252 bytes stored in the bookings, except
// the bytes that would break a record: '|' is written as '/', '"' as an
// apostrophe, CR, LF and the other control bytes as a blank.

// The header line, with its CR LF.
const std::string& LexwareHeaderLine();

// Appends the line of one booking, with its CR LF, to `out`.
void AppendLexwareLine(const BookingRecord& booking, std::string& out);

struct LexwareExportResult {
    bool written = false;    // every file in place
    bool cancelled = false;  // stopped through the progress; every old file as it was
    // The success message (Information) when written, else E:209 or E:210;
    // none when cancelled.
    Notices notices;
};

// Writes the bookings of the store into new files and replaces the old ones
// only when every file was written and closed (any failure leaves existing
// files as they were). Bookings of one calendar year go to `path`; bookings
// of several years go to one file per year (LexwareFilePaths), and `path`
// itself is not written. `progress` ticks in bookings written (over every
// file of a run).
LexwareExportResult ExportLexware(const BookingStore& store, const std::string& path,
                                  const Progress* progress = nullptr);

}  // namespace belvaron
