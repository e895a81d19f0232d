#include "core/bookings/JournalColumns.h"

#include "core/base/TracePoint.h"

namespace belvaron {

namespace {

struct ColumnTitle {
    JournalColumn column;
    std::string_view title;
};

// Header titles -> columns (case-sensitive).
constexpr ColumnTitle kTitles[] = {
    {kColBookingNo, "Buchungs-Nr."},
    {kColBookingNo, "Buchung Nr."},
    {kColDate, "Datum"},
    {kColBeleg, "Beleg-Nr."},
    {kColBeleg, "Nummer"},
    {kColName, "Name"},
    {kColPurpose, "Verw.-Zweck"},
    {kColPurpose, "Verwendungszweck"},
    {kColAccount, "Konto"},
    {kColSplit, "Splitt"},
    {kColSplit, "Splittkonten"},
    {kColVatRate, "MwSt-Satz"},
    {kColDebit, "Soll"},
    {kColCredit, "Haben"},
};

struct RequiredColumn {
    JournalColumn column;
    std::string_view entry;
};

// The required columns in the order the missing-column list names them.
constexpr RequiredColumn kRequired[] = {
    {kColBookingNo, " 'Buchungs-Nr.',"},
    {kColDate, " 'Datum',"},
    {kColAccount, " 'Konto',"},
    {kColSplit, " 'Splitt',"},
    {kColDebit, " 'Soll',"},
    {kColCredit, " 'Haben',"},
    {kColVatRate, " 'MwSt-Satz',"},
    {kColPurpose, " 'Verw.-Zweck',"},
};

}  // namespace

JournalLayout FindJournalColumns(std::string_view header, int maxColumns) {
    JournalLayout layout;
    layout.column.fill(-1);
    std::size_t firstAt[std::size(kTitles)];
    for (std::size_t t = 0; t < std::size(kTitles); ++t) firstAt[t] = header.find(kTitles[t].title);

    int cell = 0;
    std::size_t start = 0;
    for (;;) {
        TracePoint = 2012;
        if (cell < maxColumns) {
            for (std::size_t t = 0; t < std::size(kTitles); ++t) {
                if (firstAt[t] == start) layout.column[kTitles[t].column] = cell;
            }
        }
        const std::size_t tab = header.find('\t', start);
        if (tab == std::string_view::npos) break;
        start = tab + 1;
        ++cell;
    }
    layout.numCols = cell + 1;
    return layout;
}

std::string MissingJournalColumns(const JournalLayout& layout) {
    std::string list;
    for (const auto& r : kRequired) {
        if (layout[r.column] < 0) list += r.entry;
    }
    return list;
}

}  // namespace belvaron
