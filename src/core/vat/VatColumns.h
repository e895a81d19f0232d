#pragma once

#include <string>
#include <string_view>

namespace belvaron {

// The field numbers of the four columns of a VAT detail report header;
// -1 when the column was not found. Field 0 is the text before the first
// TAB, field n the text after the n-th TAB.
struct VatColumns {
    int bookingNo = -1;  // "Buchungs-Nr." or "Buchung Nr."
    int date = -1;       // "Datum"
    int account = -1;    // "Konto"
    int amount = -1;     // "Zahlbetrag", or any field beginning with "Betrag"

    bool Complete() const { return bookingNo >= 0 && date >= 0 && account >= 0 && amount >= 0; }
};

// Finds the columns in a header line. A field is a column when it begins
// with the column's title and the title does not occur earlier in the line;
// a field beginning with "Betrag" is the amount column wherever else
// "Betrag" occurs. Matching is case-sensitive; the rightmost match wins.
VatColumns FindVatColumns(std::string_view header);

// The list of missing columns for E:223, in the fixed order, each item
// " 'Name',"; empty when the columns are complete.
std::string MissingVatColumns(const VatColumns& columns);

// Calls visit(index, text, position) for each TAB-separated field of a line,
// from field 0 to the last (position: the field's offset in the line), and
// returns the number of fields.
template <typename Visit>
int ForEachField(std::string_view line, Visit visit) {
    int index = 0;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        const std::size_t end = tab == std::string_view::npos ? line.size() : tab;
        visit(index, line.substr(start, end - start), start);
        ++index;
        if (tab == std::string_view::npos) return index;
        start = tab + 1;
    }
}

}  // namespace belvaron
