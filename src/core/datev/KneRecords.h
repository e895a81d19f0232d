#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/bookings/BookingRecord.h"
#include "core/datev/DatevRange.h"
#include "core/datev/DatevSettings.h"

namespace belvaron {

// The byte layouts of the DATEV "Postversand" batch: the data file's header,
// booking and total records, and the header file. Every builder returns the
// record's bytes; the widths are those of values within the dialog limits,
// a wider number takes more characters.

inline constexpr std::size_t kKneBlockSize = 256;
// A booking record starts a new block when it would bring the block's fill
// count to this or more; a total record when it would reach kKneBlockSize.
inline constexpr std::size_t kKneBookingLimit = 237;

// The most blocks a data file may have: the header file holds the count in
// five digits (extended) or 16 bits (old).
inline constexpr int32_t kKneMaxBlocksExtended = 99999;
inline constexpr int32_t kKneMaxBlocksOld = 65535;
// The largest amount in cents the booking record's ten-digit amount field
// holds: 99.999.999,99.
inline constexpr int64_t kKneMaxAmountCents = 9'999'999'999;

namespace kne {
inline constexpr char kHeaderStart1 = '\x1D';
inline constexpr char kHeaderStart2 = '\x18';
inline constexpr char kFormatOpen = '\xB5';
inline constexpr char kBelegfeldOpen = '\xBD';
inline constexpr char kTextOpen = '\x1E';
inline constexpr char kCurrencyOpen = '\xB3';
inline constexpr char kFieldClose = '\x1C';
}  // namespace kne

// The header record of the data file (93 bytes extended, 80 old);
// `exportYear` is the YY of the range start.
std::string KneHeaderRecord(const DatevSettings& settings, const DatevRange& range,
                            std::string_view exportYear, bool extended);

// The booking text "(beleg)name,purpose" in code page 850, at most 30
// bytes; control bytes (below 0x20) become blanks so that the text cannot
// end its field early.
std::string KneBookingText(const BookingRecord& booking);

// The booking record of one booking with its amount in cents.
// `kontonummernlaenge` + 1 is the account width of the extended variant.
std::string KneBookingRecord(const BookingRecord& booking, int64_t amount, bool extended,
                             int32_t kontonummernlaenge);

// "x", the digits of the total, "yz"; a negative total has "w" for "x".
std::string KneTotalRecord(int64_t total);

// The header file "EV01" (256 bytes) or "DV01" (128 bytes) for a data file
// of `blockCount` blocks.
std::string KneHeaderFile(const DatevSettings& settings, const DatevRange& range,
                          std::string_view exportYear, int32_t blockCount, bool extended);

// Appends `value` in decimal as printf's "%d" family writes it: `width` is
// the minimum width including the sign, `zeroFill` pads with zeros after the
// sign (else blanks before it), `plus` writes '+' before values >= 0.
void AppendDecimal(std::string& out, int64_t value, int width = 0, bool zeroFill = false,
                   bool plus = false);

// Characters `offset` and `offset`+1 of a date text (up to its terminator):
// DD, MM or YY of DD.MM.YYYY with offsets 0, 3 and 8.
std::string_view DatePiece(std::string_view date, std::size_t offset);

}  // namespace belvaron
