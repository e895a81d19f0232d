#pragma once

#include <gtest/gtest.h>

#include "core/bookings/BookingStore.h"

namespace belvaron::test {

// Appends a complete record to the store, as an import does.
inline void Append(BookingStore& store, const BookingRecord& b) {
    BookingRecord* room = store.AppendRoom();
    ASSERT_NE(room, nullptr);
    *room = b;
    ++store.bookingCount;
}

}  // namespace belvaron::test
