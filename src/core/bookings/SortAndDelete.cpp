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

namespace {

// The store indices ordered by key, equal keys in store order: a stable
// least-significant-digit radix sort of the indices over the key's two
// 16-bit halves (sign bit flipped, so negative keys come first).
std::vector<int32_t> OrderByKey(const std::vector<int32_t>& keys) {
    const std::size_t n = keys.size();
    std::vector<int32_t> order(n);
    std::vector<int32_t> spare(n);
    for (std::size_t i = 0; i < n; ++i) order[i] = static_cast<int32_t>(i);
    std::vector<std::size_t> counts(std::size_t{1} << 16);
    for (const int shift : {0, 16}) {
        auto digit = [&](int32_t index) {
            const uint32_t key =
                static_cast<uint32_t>(keys[static_cast<std::size_t>(index)]) ^ 0x8000'0000u;
            return (key >> shift) & 0xFFFFu;
        };
        std::fill(counts.begin(), counts.end(), 0);
        for (const int32_t index : order) ++counts[digit(index)];
        std::size_t sum = 0;
        for (std::size_t& c : counts) sum += std::exchange(c, sum);
        for (const int32_t index : order) spare[counts[digit(index)]++] = index;
        order.swap(spare);
    }
    return order;
}

// Moves the records so that place k holds the record at `from[k]`, in place
// with one spare record. The permutation's cycles are first laid out as one
// list of places (each cycle ended by -1), touching only the index array;
// then the records move along that list, fetched a few moves ahead, so the
// record moves do not wait on one another.
void ApplyPermutation(BookingStore& store, std::vector<int32_t>& from) {
    const auto n = static_cast<int32_t>(from.size());
    std::vector<int32_t> path;
    path.reserve(from.size() + from.size() / 2);
    for (int32_t start = 0; start < n; ++start) {
        if (from[static_cast<std::size_t>(start)] == start) continue;
        int32_t place = start;
        do {
            path.push_back(place);
            const int32_t next = from[static_cast<std::size_t>(place)];
            from[static_cast<std::size_t>(place)] = place;  // done
            place = next;
        } while (place != start);
        path.push_back(-1);
    }
    constexpr std::size_t kAhead = 8;
    BookingRecord spare;
    bool cycleStart = true;
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (i + kAhead < path.size() && path[i + kAhead] >= 0) {
            const char* ahead = reinterpret_cast<const char*>(&store[path[i + kAhead]]);
            for (std::size_t line = 0; line < sizeof(BookingRecord); line += 64)
                __builtin_prefetch(ahead + line, 1);
        }
        const int32_t place = path[i];
        if (place < 0) {
            cycleStart = true;
            continue;
        }
        if (cycleStart) spare = store[place];
        cycleStart = false;
        const int32_t next = path[i + 1];
        store[place] = next >= 0 ? store[next] : spare;
    }
}

}  // namespace

// The result equals that of an exchange sort that swaps neighbours only when
// the first key is greater: a sort by DateKey that keeps the store order of
// equal keys. It runs in linear time with a few index arrays: the keys are
// read once in store order, the indices radix-sorted, and each record moved
// once.
void SortByDate(BookingStore& store, UiPort& ui) {
    TracePoint = 2044;
    const int32_t n = store.bookingCount;
    SortWindow window(ui, n);
    TracePoint = 2045;
    if (n < 2) return;

    std::vector<int32_t> keys(static_cast<std::size_t>(n));
    bool sorted = true;
    for (int32_t i = 0; i < n; ++i) {
        const int32_t key = DateKey(store[i].date);
        keys[static_cast<std::size_t>(i)] = key;
        if (i > 0 && key < keys[static_cast<std::size_t>(i) - 1]) sorted = false;
    }
    ui.SortProgress(n / 4);
    if (sorted) {
        ui.SortProgress(n);
        return;  // one pass, nothing exchanged
    }
    TracePoint = 2047;
    std::vector<int32_t> from = OrderByKey(keys);
    keys = {};
    ui.SortProgress(n / 2);
    TracePoint = 2048;
    ApplyPermutation(store, from);
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
