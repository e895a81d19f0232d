#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "core/base/TracePoint.h"
#include "core/bookings/BookingOperations.h"
#include "core/bookings/BookingStore.h"

namespace belvaron {

namespace {

// Tells the observer of one sort its start, its positions and, however the
// sort ends, its end.
class ObservedSort {
public:
    ObservedSort(const SortObserver* observer, int total) : observer_(observer) {
        if (observer_ && observer_->started) observer_->started(total);
    }
    ~ObservedSort() {
        if (observer_ && observer_->finished) observer_->finished();
    }
    ObservedSort(const ObservedSort&) = delete;
    ObservedSort& operator=(const ObservedSort&) = delete;

    void Position(int position) const {
        if (observer_ && observer_->position) observer_->position(position);
    }

private:
    const SortObserver* observer_;
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

// Asks for the cache lines of a record before it is read.
void Prefetch(const BookingRecord& record) {
    const char* bytes = reinterpret_cast<const char*>(&record);
    for (std::size_t at = 0; at < sizeof record; at += 64) __builtin_prefetch(bytes + at);
    __builtin_prefetch(bytes + sizeof record - 1);
}

// Moves the records so that place k holds the record now at `from[k]`, in
// place; `from` ends as the identity. Each cycle of the permutation is
// followed once, so every record is copied once. A cycle jumps at random
// through a large store, so the record kAhead steps further along the cycle
// is fetched into the cache while the current one moves.
void ApplyPermutation(BookingStore& store, std::vector<int32_t>& from) {
    constexpr int kAhead = 8;
    auto source = [&from](int32_t k) -> int32_t& { return from[static_cast<std::size_t>(k)]; };
    const auto n = static_cast<int32_t>(from.size());
    for (int32_t start = 0; start < n; ++start) {
        if (source(start) == start) continue;
        const BookingRecord saved = store[start];
        int32_t ahead = start;
        for (int d = 0; d < kAhead; ++d) Prefetch(store[ahead = source(ahead)]);
        int32_t k = start;
        for (;;) {
            const int32_t next = std::exchange(source(k), k);
            if (next == start) {
                store[k] = saved;
                break;
            }
            store[k] = store[next];
            Prefetch(store[ahead = source(ahead)]);
            k = next;
        }
    }
}

}  // namespace

// The result equals that of an exchange sort that swaps neighbours only when
// the first key is greater: a sort by DateKey that keeps the store order of
// equal keys. It runs in linear time with a few index arrays: the keys are
// read once in store order, the indices radix-sorted, and each record moved
// once.
void SortByDate(BookingStore& store, const SortObserver* observer) {
    TracePoint = 2044;
    const int32_t n = store.bookingCount;
    const ObservedSort window(observer, n);
    TracePoint = 2045;
    if (n < 2) return;

    std::vector<int32_t> keys(static_cast<std::size_t>(n));
    bool sorted = true;
    for (int32_t i = 0; i < n; ++i) {
        const int32_t key = DateKey(store[i].date);
        keys[static_cast<std::size_t>(i)] = key;
        if (i > 0 && key < keys[static_cast<std::size_t>(i) - 1]) sorted = false;
    }
    window.Position(n / 4);
    if (sorted) {
        window.Position(n);
        return;  // one pass, nothing exchanged
    }
    TracePoint = 2047;
    std::vector<int32_t> from = OrderByKey(keys);
    keys = {};
    window.Position(n / 2);
    TracePoint = 2048;
    ApplyPermutation(store, from);
    window.Position(n);
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
