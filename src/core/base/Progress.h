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

}  // namespace belvaron
