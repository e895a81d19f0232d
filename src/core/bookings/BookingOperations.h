#pragma once

#include <cstdint>
#include <string>

namespace belvaron {

class BookingStore;
class UiPort;

// Sorts the bookings by DateKey, keeping the order of equal dates; the sort
// window shows through `ui` while it runs.
void SortByDate(BookingStore& store, UiPort& ui);

// Removes every booking whose SOLL or HABEN account is 0, keeping the order
// of the rest; returns how many were removed. Shows nothing.
int32_t DeleteZeroAccountBookings(BookingStore& store);

// The list line of one booking, Windows-1252 bytes; empty for an index not
// below bookingCount.
std::string FormatListLine(const BookingStore& store, int32_t index);

// The list lines of the bookings from `from` up to, not including, `to`
// (both held to 0 .. bookingCount), each as FormatListLine gives it and
// ended by '\n', appended to `out`.
void AppendListLines(const BookingStore& store, int32_t from, int32_t to, std::string& out);

}  // namespace belvaron
