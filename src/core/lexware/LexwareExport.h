#pragma once

#include <string>

#include "core/base/Progress.h"
#include "core/bookings/BookingRecord.h"

namespace belvaron {

class BookingStore;
class UiPort;

// The Lexware Buchhalter import file: a header line of fourteen quoted
// titles, then one line per booking; fields joined by '|', every line ending
// in CR LF, texts as the Windows-1252 bytes stored in the bookings, except
// the bytes that would break a record: '|' is written as '/', '"' as an
// apostrophe, CR, LF and the other control bytes as a blank.

// The header line, with its CR LF.
const std::string& LexwareHeaderLine();

// Appends the line of one booking, with its CR LF, to `out`.
void AppendLexwareLine(const BookingRecord& booking, std::string& out);

// Writes the file of all bookings of the store to `path`, replacing an old
// file only by a complete new one. True after the success message; false
// after E:209, E:210 or a write error. `progress` ticks in bookings written
// (over every file of a run); a cancelled export shows nothing, returns
// false and leaves every old file as it was.
bool ExportLexware(const BookingStore& store, const std::string& path, UiPort& ui,
                   const Progress* progress = nullptr);

}  // namespace belvaron
