#pragma once

#include <cstddef>
#include <cstdint>

#include "core/base/ReservedMemory.h"
#include "core/base/Text.h"
#include "core/bookings/BookingRecord.h"
#include "core/bookings/Dates.h"

namespace belvaron {

inline constexpr std::size_t kBookingCapacity = 1'000'000;

// The bookings of the loaded journal and the journal's state flags. The
// array is reserved once for its full capacity, so records never move. A
// store whose reservation failed is !ok() and has no room; its owner shows
// E:201.
class BookingStore {
public:
    explicit BookingStore(std::size_t bookingCapacity = kBookingCapacity);
    BookingStore(const BookingStore&) = delete;
    BookingStore& operator=(const BookingStore&) = delete;

    bool ok() const { return bookings.ok(); }

    int32_t bookingCount = 0;
    ReservedArray<BookingRecord> bookings;
    bool journalLoaded = false;
    bool accountsReplaced = false;
    bool cashBasisApplied = false;

    // Room for one more booking: the record at bookingCount, or nullptr when
    // the capacity is used up. The caller fills every field, then adds 1 to
    // bookingCount.
    BookingRecord* AppendRoom();

    BookingRecord& operator[](int32_t i) { return bookings[static_cast<std::size_t>(i)]; }
    const BookingRecord& operator[](int32_t i) const {
        return bookings[static_cast<std::size_t>(i)];
    }
};

}  // namespace belvaron
