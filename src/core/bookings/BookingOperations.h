#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace belvaron {

class BookingStore;

// Who follows a sort (the sort window): `started` with the number of
// bookings to sort, then `position` now and then with how far the sort is
// (ascending, at most the total), and `finished` once however the sort
// ends, also when it throws after `started`. An empty member is not called.
struct SortObserver {
    std::function<void(int total)> started;
    std::function<void(int position)> position;
    std::function<void()> finished;
};

// Sorts the bookings by DateKey, keeping the order of equal dates, with
// `observer` (none when null) told how far it is.
void SortByDate(BookingStore& store, const SortObserver* observer = nullptr);

// Removes every booking whose SOLL or HABEN account is 0, keeping the order
// of the rest; returns how many were removed. Shows nothing.
int32_t DeleteZeroAccountBookings(BookingStore& store);

// The list line of one booking, Windows-1252 bytes; empty for an index not
// below bookingCount.
std::string FormatListLine(const BookingStore& store, int32_t index);

// The list lines of the bookings from `from` up to, not including, `to`
// (both held to 0 .. bookingCount), each as FormatListLine gives it and
// ended by '\n', appended to `out`. Reads only and sets no TracePoint, so
// several threads may form lines of one store at once.
void AppendListLines(const BookingStore& store, int32_t from, int32_t to, std::string& out);

}  // namespace belvaron
