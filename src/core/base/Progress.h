#pragma once

#include <cstdint>
#include <functional>

namespace belvaron {

// The progress of a long operation, and the user's wish to stop it. An
// operation that takes a Progress calls `tick` now and then (not for every
// item) with the work done and the total in units of its own choice (bytes,
// bookings); `tick` returns false to cancel. A cancelled operation stops at
// its next tick, shows no message and leaves what it works on as its own
// contract states (a store consistent, old files in place). A null Progress
// or an empty tick never cancels.
struct Progress {
    std::function<bool(int64_t done, int64_t total)> tick;
};

// True to go on: no progress, no tick, or the tick did not cancel.
inline bool GoOn(const Progress* progress, int64_t done, int64_t total) {
    return progress == nullptr || !progress->tick || progress->tick(done, total);
}

// Items between two ticks of a loop over bookings.
inline constexpr int32_t kProgressStride = 4096;

// The items of a loop counted against their total, with a tick every
// kProgressStride items. Once a tick cancelled, Step() stays false.
class ProgressCount {
public:
    ProgressCount(const Progress* progress, int64_t total) : progress_(progress), total_(total) {}

    // One item done; false once the work is cancelled.
    bool Step() { return Add(1); }
    // `items` (at most kProgressStride) more done at once: when the count
    // passes a multiple of kProgressStride, the tick reports that multiple,
    // as one Step() per item would have.
    bool Add(int64_t items) {
        const int64_t before = done_;
        done_ += items;
        const int64_t passed = done_ / kProgressStride * kProgressStride;
        if (passed > before && !cancelled_ && !GoOn(progress_, passed, total_)) {
            cancelled_ = true;
        }
        return !cancelled_;
    }
    bool cancelled() const { return cancelled_; }

private:
    const Progress* progress_;
    int64_t total_;
    int64_t done_ = 0;
    bool cancelled_ = false;
};

}  // namespace belvaron
