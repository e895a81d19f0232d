#include <algorithm>
#include <charconv>
#include <string>
#include <string_view>

#include "core/base/FixedText.h"
#include "core/base/TracePoint.h"
#include "core/bookings/BookingOperations.h"
#include "core/bookings/BookingStore.h"

namespace belvaron {

namespace {

// `value` in decimal, right-aligned in `width` characters with blanks (a
// wider number takes its own width), as printf's "%<width>d".
void AppendInt(std::string& out, int32_t value, std::size_t width = 0) {
    char digits[16];
    const auto length =
        static_cast<std::size_t>(std::to_chars(digits, digits + sizeof digits, value).ptr - digits);
    if (length < width) out.append(width - length, ' ');
    out.append(digits, length);
}

// One line of the list, as "%3d. %s, S=%d,Soll=%4d,Haben=%4d, MwSt=%2d,
// %s %s, %-30s" with the last field "(beleg)name,purpose", and a leading '*'
// for a re-dated booking.
void AppendLine(const BookingRecord& b, std::string& out) {
    if (b.redated > 0) out += '*';
    AppendInt(out, b.bookingNo, 3);
    out += ". ";
    out += FieldText(b.date);
    out += ", S=";
    AppendInt(out, b.datevKey);
    out += ",Soll=";
    AppendInt(out, b.sollAccount, 4);
    out += ",Haben=";
    AppendInt(out, b.habenAccount, 4);
    out += ", MwSt=";
    AppendInt(out, b.vatRate, 2);
    out += ", ";
    out += FieldText(b.amount);
    out += ' ';
    out += FieldText(b.currency);
    out += ", ";
    const std::size_t innerStart = out.size();
    out += '(';
    out += FieldText(b.beleg);
    out += ')';
    out += FieldText(b.name);
    out += ',';
    out += FieldText(b.purpose);
    const std::size_t inner = out.size() - innerStart;
    if (inner < 30) out.append(30 - inner, ' ');
}

}  // namespace

std::string FormatListLine(const BookingStore& store, int32_t index) {
    TracePoint = 2005;
    if (index < 0 || index >= store.bookingCount) return {};
    std::string line;
    line.reserve(160);
    AppendLine(store[index], line);
    return line;
}

void AppendListLines(const BookingStore& store, int32_t from, int32_t to, std::string& out) {
    TracePoint = 2005;
    from = std::max(from, 0);
    to = std::min(to, store.bookingCount);
    for (int32_t i = from; i < to; ++i) {
        AppendLine(store[i], out);
        out += '\n';
    }
}

}  // namespace belvaron
