#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The field rules of the DATEV-Format (CSV): quoting, amounts, dates.
namespace belvaron::csv {

// Appends a text field: in double quotes, an embedded quote doubled, and
// every control byte (CR, LF, TAB and the rest below 0x20) replaced by a
// blank, so that no field spans lines. Bytes are copied as they are
// (Windows-1252).
void AppendQuoted(std::string& out, std::string_view text);

// Belegfeld 1 from a document number: the characters of DATEV's set
// (A-Z a-z 0-9 $ & % * + - /) in their order, every other byte dropped,
// at most kMaxBelegfeld1 of them. Empty when none is left; the caller then
// uses the booking number.
inline constexpr std::size_t kMaxBelegfeld1 = 36;
using DocumentBuffer = char[kMaxBelegfeld1];
// Writes the characters to `out`; the view refers to `out`.
std::string_view DocumentNumber(std::string_view beleg, DocumentBuffer& out);
std::string DocumentNumber(std::string_view beleg);

// Appends an integer in decimal.
void AppendInt(std::string& out, int64_t value);

// Writers that form a field in the caller's buffer at `at` and return the
// end of what they wrote. The caller provides the room: QuotedRoom(text)
// bytes for a quoted text, kIntRoom for a number, kIntRoom + 2 for a quoted
// number or an amount.
inline constexpr std::size_t kIntRoom = 20;  // "-9223372036854775808"
inline constexpr std::size_t QuotedRoom(std::string_view text) { return 2 * text.size() + 2; }
// AppendQuoted, AppendInt, AppendQuotedInt and AppendUmsatz into a buffer.
char* PutQuoted(char* at, std::string_view text);
char* PutInt(char* at, int64_t value);
char* PutQuotedInt(char* at, int64_t value);
char* PutUmsatz(char* at, int64_t cents);
// Appends an integer in decimal as a text field: in double quotes (its
// characters need no escaping).
void AppendQuotedInt(std::string& out, int64_t value);

// An amount text of a booking ("1.234,56", "-19,00"), up to 30 bytes.
// cents: the digits of the text read as one number, that is the amount in
// cents for a text with two decimals; negative when the first character
// after leading blanks is '-'.
struct Amount {
    int64_t cents = 0;        // signed; valid only when !tooLarge
    bool wellFormed = false;  // [blanks][-]digits/dots,dd[blanks] with a digit before ','
    bool tooLarge = false;    // more than 12 significant digits (DATEV: 10 before the comma)
};
Amount ParseAmount(std::string_view text);

// |cents| as "1234,56" (no thousands dot, at least "0,01").
std::string FormatUmsatz(int64_t cents);
// Appends FormatUmsatz(cents).
void AppendUmsatz(std::string& out, int64_t cents);

// The start (YYYYMMDD) of the fiscal year beginning on day.month that
// contains the date `key`.
int32_t FiscalYearStart(int32_t key, int day, int month);

}  // namespace belvaron::csv
