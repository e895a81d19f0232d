#pragma once

#include <string>

#include "core/bookings/BookingRecord.h"

namespace belvaron {

// The Lexware Buchhalter import file: a header line of fourteen quoted
// titles, then one line per booking; fields joined by '|', every line ending
// in CR LF, texts as the Windows-1252 bytes stored in the bookings.
//
// As the file is a text file, a line break (LF) inside a stored text is
// written as CR LF, like every other line break of the file.

// The header line, with its CR LF.
const std::string& LexwareHeaderLine();

// Appends the line of one booking, with its CR LF, to `out`.
void AppendLexwareLine(const BookingRecord& booking, std::string& out);

}  // namespace belvaron
