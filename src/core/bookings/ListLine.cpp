#include <string>

#include "core/base/FixedText.h"
#include "core/base/Format.h"
#include "core/base/TracePoint.h"
#include "core/bookings/BookingOperations.h"
#include "core/bookings/BookingStore.h"

namespace belvaron {

std::string FormatListLine(const BookingStore& store, int32_t index) {
    TracePoint = 2005;
    if (index < 0 || index >= store.bookingCount) return {};
    const BookingRecord& b = store[index];
    const std::string beleg(FieldText(b.beleg));
    const std::string name(FieldText(b.name));
    const std::string purpose(FieldText(b.purpose));
    const std::string date(FieldText(b.date));
    const std::string amount(FieldText(b.amount));
    const std::string currency(FieldText(b.currency));
    const std::string inner = Format("(%s)%s,%s", beleg.c_str(), name.c_str(), purpose.c_str());
    std::string line = Format("%3d. %s, S=%d,Soll=%4d,Haben=%4d, MwSt=%2d, %s %s, %-30s",
                              b.bookingNo, date.c_str(), b.datevKey, b.sollAccount,
                              b.habenAccount, b.vatRate, amount.c_str(), currency.c_str(),
                              inner.c_str());
    if (b.redated > 0) line.insert(0, 1, '*');
    return line;
}

}  // namespace belvaron
