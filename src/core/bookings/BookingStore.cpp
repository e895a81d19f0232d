#include "core/bookings/BookingStore.h"

#include "core/base/TracePoint.h"

namespace belvaron {

BookingStore::BookingStore(std::size_t bookingCapacity)
    : bookings((TracePoint = 2001, bookingCapacity)) {}

BookingRecord* BookingStore::AppendRoom() {
    if (bookingCount < 0 || !bookings.Commit(static_cast<std::size_t>(bookingCount))) {
        return nullptr;
    }
    return &bookings[static_cast<std::size_t>(bookingCount)];
}

}  // namespace belvaron
