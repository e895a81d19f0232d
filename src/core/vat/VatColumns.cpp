#include "core/vat/VatColumns.h"

#include "core/base/TracePoint.h"
#include "core/vat/VatMessages.h"

namespace belvaron {

namespace {

// The field at `position` of `header` begins with `title`, and the title's
// first occurrence in the line is this one.
bool TitleAt(std::string_view header, std::size_t position, std::string_view field,
             std::string_view title) {
    return field.starts_with(title) && header.find(title) == position;
}

}  // namespace

VatColumns FindVatColumns(std::string_view header) {
    VatColumns columns;
    ForEachField(header, [&](int index, std::string_view field, std::size_t position) {
        TracePoint = 2054;
        if (TitleAt(header, position, field, "Buchungs-Nr.") ||
            TitleAt(header, position, field, "Buchung Nr.")) {
            columns.bookingNo = index;
        }
        if (TitleAt(header, position, field, "Datum")) columns.date = index;
        if (TitleAt(header, position, field, "Konto")) columns.account = index;
        if (TitleAt(header, position, field, "Zahlbetrag") || field.starts_with("Betrag")) {
            columns.amount = index;
        }
    });
    return columns;
}

std::string MissingVatColumns(const VatColumns& columns) {
    std::string list;
    if (columns.bookingNo < 0) list += msg::kMissingBookingNo;
    if (columns.date < 0) list += msg::kMissingDate;
    if (columns.account < 0) list += msg::kMissingAccount;
    if (columns.amount < 0) list += msg::kMissingAmount;
    return list;
}

}  // namespace belvaron
