#include "core/vat/VatLog.h"

#include <charconv>

#include "core/base/FixedText.h"
#include "core/vat/VatMessages.h"

namespace belvaron {

void AppendNumber(std::string& out, int32_t n) {
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, n);
    out.append(digits, result.ptr);
}

std::string NoJournalBookingLine(const VatDetailRow& row) {
    std::string line = msg::kLogNoJournalBooking;
    AppendNumber(line, row.bookingNo);
    line += msg::kLogVatDate;
    line += FieldText(row.date);
    line += "\r\n";
    return line;
}

std::string NoVatBookingLine(const BookingRecord& booking) {
    std::string line = msg::kLogNoVatBooking;
    AppendNumber(line, booking.bookingNo);
    line += msg::kLogJournalDate;
    line += FieldText(booking.date);
    line += msg::kLogBeleg;
    line += FieldText(booking.beleg);
    line += "\r\n";
    return line;
}

bool VatLog::Close() {
    if (!open_) return false;
    open_ = false;
    return writer_.Commit();
}

}  // namespace belvaron
