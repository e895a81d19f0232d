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

// The keys never fall from one record to the next (a load leaves its
// bookings so): told in one pass that keeps nothing.
bool IsSorted(const BookingStore& store) {
    int32_t previous = DateKey(store[0].date);
    for (int32_t i = 1; i < store.bookingCount; ++i) {
        const int32_t key = DateKey(store[i].date);
        if (key < previous) return false;
        previous = key;
    }
    return true;
}

// One stable counting pass: `out` gets the indices of `in` (or 0 .. n-1 when
// `in` is null) ordered by digit(index), equal digits in the order met.
template <typename Digit>
void CountingPass(const std::vector<int32_t>* in, std::vector<int32_t>& out,
                  std::vector<uint32_t>& counts, Digit digit) {
    const auto n = static_cast<int32_t>(out.size());
    std::fill(counts.begin(), counts.end(), 0);
    auto index = [in](int32_t i) { return in ? (*in)[static_cast<std::size_t>(i)] : i; };
    for (int32_t i = 0; i < n; ++i) ++counts[digit(index(i))];
    uint32_t sum = 0;
    for (uint32_t& c : counts) sum += std::exchange(c, sum);
    for (int32_t i = 0; i < n; ++i) out[counts[digit(index(i))]++] = index(i);
}

// Keys that lie within this distance of the least one (the dates of a
// century) are counted in one pass.
constexpr int64_t kOnePassRange = int64_t{1} << 20;

// The store indices ordered by key, equal keys in store order: one counting
// pass over the distance from the least key when the keys lie close, else a
// least-significant-digit radix sort over the key's two 16-bit halves (sign
// bit flipped, so negative keys come first).
std::vector<int32_t> OrderByKey(const std::vector<int32_t>& keys, int32_t least, int32_t most) {
    std::vector<int32_t> order(keys.size());
    auto key = [&keys](int32_t index) { return keys[static_cast<std::size_t>(index)]; };
    // A few keys far apart (a re-sort after one edit) take the radix sort,
    // whose counters do not grow with the distance.
    const int64_t span = int64_t{most} - least;
    if (span < kOnePassRange && span < 16 * static_cast<int64_t>(keys.size()) + (1 << 16)) {
        std::vector<uint32_t> counts(static_cast<std::size_t>(span + 1));
        CountingPass(nullptr, order, counts, [&](int32_t index) {
            return static_cast<std::size_t>(int64_t{key(index)} - least);
        });
        return order;
    }
    std::vector<int32_t> low(keys.size());
    std::vector<uint32_t> counts(std::size_t{1} << 16);
    auto half = [&](int shift) {
        return [&key, shift](int32_t index) {
            return ((static_cast<uint32_t>(key(index)) ^ 0x8000'0000u) >> shift) & 0xFFFFu;
        };
    };
    CountingPass(nullptr, low, counts, half(0));
    CountingPass(&low, order, counts, half(16));
    return order;
}

// Asks for the cache lines of a record before it is read.
void Prefetch(const BookingRecord& record) {
    const char* bytes = reinterpret_cast<const char*>(&record);
    for (std::size_t at = 0; at < sizeof record; at += 64) __builtin_prefetch(bytes + at);
    __builtin_prefetch(bytes + sizeof record - 1);
}

// The places of the cycles of the permutation "place k takes the record at
// from[k]", each cycle in the order its records move (k, from[k], ...), its
// last place stored as the complement (~k); places that keep their record
// are left out. `from` ends as the identity; `room` lends its memory.
// Following a cycle costs one dependent read per place; over the index
// array alone (4 bytes a place) they stay in the caches, which the records
// would fill if the cycles were followed while the records move.
std::vector<int32_t> CyclePlaces(std::vector<int32_t>& from, std::vector<int32_t> room) {
    std::vector<int32_t> places = std::move(room);
    places.clear();
    auto source = [&from](int32_t k) -> int32_t& { return from[static_cast<std::size_t>(k)]; };
    const auto n = static_cast<int32_t>(from.size());
    for (int32_t start = 0; start < n; ++start) {
        if (source(start) == start) continue;
        int32_t k = start;
        do {
            places.push_back(k);
            k = std::exchange(source(k), k);
        } while (k != start);
        places.back() = ~places.back();
    }
    return places;
}

// Moves the records along the cycles of CyclePlaces, so that every record
// is copied once. The cycles jump at random through a large store; since
// their places are listed, the records kAhead places further on are asked
// for while the current one moves, and the misses overlap instead of
// following one another.
void MoveAlongCycles(BookingStore& store, const std::vector<int32_t>& places) {
    constexpr std::size_t kAhead = 16;
    const std::size_t n = places.size();
    auto place = [&places](std::size_t i) { return places[i] < 0 ? ~places[i] : places[i]; };
    for (std::size_t i = 0; i < std::min(kAhead, n); ++i) Prefetch(store[place(i)]);
    for (std::size_t i = 0; i < n; ++i) {
        const BookingRecord saved = store[places[i]];  // the first of a cycle
        for (; places[i] >= 0; ++i) {
            if (i + kAhead < n) Prefetch(store[place(i + kAhead)]);
            store[places[i]] = store[place(i + 1)];
        }
        store[~places[i]] = saved;
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

    const bool sorted = IsSorted(store);
    window.Position(n / 4);
    if (sorted) {
        window.Position(n);
        return;  // one pass, nothing exchanged
    }
    std::vector<int32_t> keys(static_cast<std::size_t>(n));
    int32_t least = DateKey(store[0].date);
    int32_t most = least;
    for (int32_t i = 0; i < n; ++i) {
        const int32_t key = DateKey(store[i].date);
        keys[static_cast<std::size_t>(i)] = key;
        least = std::min(least, key);
        most = std::max(most, key);
    }
    TracePoint = 2047;
    std::vector<int32_t> from = OrderByKey(keys, least, most);
    window.Position(n / 2);
    TracePoint = 2048;
    MoveAlongCycles(store, CyclePlaces(from, std::move(keys)));
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
