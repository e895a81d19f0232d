#pragma once

#include "core/base/UiPort.h"
#include "core/bookings/BookingOperations.h"
#include "core/bookings/BookingStore.h"

namespace belvaron {

// Sorts the store by date while the UI port's sort window shows how far the
// sort is; the window closes however the sort ends.
inline void SortByDateInWindow(BookingStore& store, UiPort& ui) {
    const SortObserver window{[&ui](int total) { ui.SortStarted(total); },
                              [&ui](int position) { ui.SortProgress(position); },
                              [&ui] { ui.SortFinished(); }};
    SortByDate(store, &window);
}

}  // namespace belvaron
