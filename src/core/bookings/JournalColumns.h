#pragma once

#include <array>
#include <string>
#include <string_view>

namespace belvaron {

// The columns of a QuickBooks journal that the import uses.
enum JournalColumn {
    kColBookingNo,
    kColDate,
    kColBeleg,
    kColName,
    kColPurpose,
    kColAccount,
    kColSplit,
    kColVatRate,
    kColDebit,
    kColCredit,
    kJournalColumnCount
};

// Where each column stands in the file: the cell number, -1 when not found,
// and the number of cells of the header line.
struct JournalLayout {
    std::array<int, kJournalColumnCount> column;
    int numCols = 0;

    int operator[](JournalColumn c) const { return column[c]; }
};

// Finds the columns in the header line (without its line break). A cell gets
// a column when the first occurrence of one of the column's titles anywhere
// in the line starts exactly at the beginning of that cell; so a title
// matches as a prefix of its cell and not when its text occurs earlier in the
// line. When two cells match one column, the later one wins. Only the first
// `maxColumns` cells can receive a column: titles in cells beyond are not
// recognised (the work area holds that many cells per row); numCols still
// counts every cell, so that data rows are read cell by cell as the header
// lays them out.
JournalLayout FindJournalColumns(std::string_view header, int maxColumns);

// The entries of the required columns that are missing, in the order of the
// E:203 message (" 'Buchungs-Nr.', 'Datum',..."); empty when all are there.
std::string MissingJournalColumns(const JournalLayout& layout);

}  // namespace belvaron
