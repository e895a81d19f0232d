#include "core/datev/DatevRange.h"

#include "core/base/FixedText.h"
#include "core/base/TracePoint.h"
#include "core/bookings/BookingStore.h"
#include "core/bookings/Dates.h"

namespace belvaron {

std::optional<DatevRange> BookingDateRange(const BookingStore& store) {
    TracePoint = 3014;
    if (store.bookingCount <= 0) return std::nullopt;
    DatevRange range;
    int32_t lowest = 99999999;
    int32_t highest = 0;
    for (int32_t i = 0; i < store.bookingCount; ++i) {
        const BookingRecord& booking = store[i];
        const int32_t key = DateKey(booking.date);
        if (key < lowest) {
            range.from = FieldText(booking.date).substr(0, 10);
            lowest = key;
        }
        if (key > highest) {
            range.to = FieldText(booking.date).substr(0, 10);
            highest = key;
        }
    }
    TracePoint = 3015;
    return range;
}

std::string NormalizedRangeDate(std::string_view text) {
    char field[11];
    SetField(field, text.substr(0, 10));
    NormalizeDate(field);
    return std::string(FieldText(field));
}

}  // namespace belvaron
