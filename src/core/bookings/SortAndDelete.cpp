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

// Moves the records so that place k holds the record now at `from[k]`, in
// place. Following the permutation's cycles through a large store jumps at
// random from record to record and waits on memory at every step, so the
// records move in two local passes instead: first each goes, by swaps, into
// its block of kBlock places (every block fills from its front, so the
// writes run through the blocks in order), then each block is put in order
// within itself, where its records are close together.
void ApplyPermutation(BookingStore& store, const std::vector<int32_t>& from) {
    constexpr int kShift = 9;
    constexpr int32_t kBlock = int32_t{1} << kShift;
    const auto n = static_cast<int32_t>(from.size());
    std::vector<int32_t> to(from.size());  // to[i]: the place of the record now at i
    for (int32_t k = 0; k < n; ++k)
        to[static_cast<std::size_t>(from[static_cast<std::size_t>(k)])] = k;
    auto at = [&to](int32_t i) -> int32_t& { return to[static_cast<std::size_t>(i)]; };
    auto swap = [&](int32_t i, int32_t j) {
        std::swap(store[i], store[j]);
        std::swap(at(i), at(j));
    };
    const int32_t blocks = (n + kBlock - 1) >> kShift;
    std::vector<int32_t> head(static_cast<std::size_t>(blocks));
    for (int32_t b = 0; b < blocks; ++b) head[static_cast<std::size_t>(b)] = b << kShift;
    auto next = [&head](int32_t b) -> int32_t& { return head[static_cast<std::size_t>(b)]; };
    for (int32_t b = 0; b < blocks; ++b) {
        const int32_t end = std::min(n, (b + 1) << kShift);
        while (next(b) < end) {
            const int32_t i = next(b);
            const int32_t t = at(i) >> kShift;
            if (t == b) {
                ++next(b);
                continue;
            }
            while ((at(next(t)) >> kShift) == t) ++next(t);
            swap(i, next(t)++);
        }
    }
    for (int32_t i = 0; i < n; ++i) {
        while (at(i) != i) swap(i, at(i));
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
    const std::vector<int32_t> from = OrderByKey(keys);
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
