#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The line layouts of a DATEV-Format (CSV) booking batch ("EXTF",
// Buchungsstapel, format version 13): line 1 the 31 header fields, line 2
// the 125 column headings, then one line of 125 fields per booking. Fields
// are separated by ';', lines end in CR LF, bytes are Windows-1252.
namespace belvaron::csv {

inline constexpr int kHeaderFieldCount = 31;
inline constexpr int kColumnCount = 125;

// How a field is written: a number as it stands, a text in quotes (also
// when empty), an optional text in quotes or nothing when empty, or nothing.
enum class FieldKind { Number, Text, OptionalText, Empty };

// The values of the header line of one file.
struct HeaderData {
    std::string createdAt;   // 17 digits YYYYMMDDHHMMSSmmm
    std::string exportedBy;  // e.g. "Belvaron V2.3"
    int32_t beraternummer = 0;
    int32_t mandantennummer = 0;
    int32_t wjBeginn = 0;  // YYYYMMDD
    int32_t sachkontenlaenge = 4;
    int32_t dateFrom = 0;          // YYYYMMDD
    int32_t dateTo = 0;            // YYYYMMDD
    std::string bezeichnung;       // at most 30 characters
    std::string diktatkuerzel;     // at most 2 characters
    int32_t festschreibung = 0;    // 0 or 1
    std::string currency;          // "EUR"
    std::string sachkontenrahmen;  // "03" or "04"
};

struct HeaderField {
    int no;
    const char* name;
    FieldKind kind;
    std::string (*value)(const HeaderData&);
};
extern const std::array<HeaderField, kHeaderFieldCount> kHeaderFields;

// The values of one booking line.
struct BookingLine {
    int64_t umsatzCents = 0;  // signed; the line carries |cents| and S/H
    std::string_view wkz;     // "EUR" or "DEM"
    int32_t konto = 0;
    int32_t gegenkonto = 0;
    int32_t buSchluessel = 0;       // written when above 0
    int32_t belegdatum = 0;         // YYYYMMDD; the line carries TTMM
    std::string_view belegfeld1;    // DATEV's character set, at most 36 bytes
    std::string_view buchungstext;  // at most 60 bytes, Windows-1252
    int32_t buchungsnummer = 0;     // Beleginfo 1, always written
    std::string_view langtext;      // Beleginfo 2 when not empty, at most 210 bytes
    int32_t festschreibung = 0;     // 0 or 1
};

// The booking columns that carry a value; every other column is empty.
struct BookingColumn {
    int no;
    FieldKind kind;
    char* (*write)(char* at, const BookingLine&);  // returns the field's end
};
extern const std::array<BookingColumn, 14> kBookingColumns;

// Line 2: the 125 headings, UTF-8 as written in the source.
extern const std::array<const char*, kColumnCount> kColumnHeadings;

// Line 1 with its CR LF.
std::string BuildHeaderLine(const HeaderData& data);
// Line 2 with its CR LF, Windows-1252.
const std::string& HeadingLine();
// The most bytes WriteBookingLine writes for `line`.
std::size_t BookingLineRoom(const BookingLine& line);
// Writes one booking line with its CR LF at `at`, which has room for
// BookingLineRoom(line) bytes; returns the line's end.
char* WriteBookingLine(char* at, const BookingLine& line);
// Appends one booking line with its CR LF.
void AppendBookingLine(std::string& out, const BookingLine& line);

}  // namespace belvaron::csv
