#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "core/base/TracePoint.h"
#include "core/base/UiPort.h"
#include "core/bookings/BookingOperations.h"
#include "core/bookings/BookingStore.h"

namespace belvaron {

namespace {

// Closes the sort window however the sort ends.
class SortWindow {
public:
    SortWindow(UiPort& ui, int total) : ui_(ui) { ui_.SortStarted(total); }
    ~SortWindow() { ui_.SortFinished(); }
    SortWindow(const SortWindow&) = delete;
    SortWindow& operator=(const SortWindow&) = delete;

private:
    UiPort& ui_;
};

}  // namespace

// The result equals that of an exchange sort that swaps neighbours only when
// the first key is greater: a sort by DateKey that keeps the store order of
// equal keys. It runs in O(n log n) with one extra array of (key, index)
// pairs: the pairs are sorted with the index as tie-breaker, then the records
// are moved into place along the permutation's cycles with one spare record.
void SortByDate(BookingStore& store, UiPort& ui) {
    TracePoint = 2044;
    const int32_t n = store.bookingCount;
    SortWindow window(ui, n);
    TracePoint = 2045;
    if (n < 2) return;

    std::vector<std::pair<int32_t, int32_t>> order(static_cast<std::size_t>(n));
    bool sorted = true;
    int32_t previous = INT32_MIN;
    for (int32_t i = 0; i < n; ++i) {
        const int32_t key = DateKey(store[i].date);
        order[static_cast<std::size_t>(i)] = {key, i};
        if (key < previous) sorted = false;
        previous = key;
    }
    ui.SortProgress(n / 4);
    if (sorted) {
        ui.SortProgress(n);
        return;  // one pass, nothing exchanged
    }
    TracePoint = 2047;
    std::sort(order.begin(), order.end());
    ui.SortProgress(n / 2);

    // order[k].second is the record that belongs at place k. Follow each
    // cycle once; a finished place is marked by pointing to itself.
    TracePoint = 2048;
    for (int32_t start = 0; start < n; ++start) {
        if (order[static_cast<std::size_t>(start)].second == start) continue;
        const BookingRecord spare = store[start];
        int32_t place = start;
        for (;;) {
            const int32_t from = order[static_cast<std::size_t>(place)].second;
            order[static_cast<std::size_t>(place)].second = place;
            if (from == start) {
                store[place] = spare;
                break;
            }
            store[place] = store[from];
            place = from;
        }
    }
    ui.SortProgress(n);
}

int32_t DeleteZeroAccountBookings(BookingStore& store) {
    TracePoint = 2033;
    int32_t removed = 0;
    int32_t kept = 0;
    for (int32_t i = 0; i < store.bookingCount; ++i) {
        TracePoint = 2034;
        const BookingRecord& b = store[i];
        if (b.sollAccount == 0 || b.habenAccount == 0) {
            ++removed;
            continue;
        }
        if (kept != i) store[kept] = b;
        ++kept;
    }
    store.bookingCount = kept;
    return removed;
}

}  // namespace belvaron
