// The REPLACE list reader and its application, compared with a plain
// application of the entries in file order.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>
#include <vector>

#include "core/bookings/BookingRecord.h"
#include "core/mapping/ReplaceList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace belvaron;
    const ReplaceListText list =
        ReadReplaceList(std::string_view(reinterpret_cast<const char*>(data), size));
    std::vector<BookingRecord> bookings(64), plain(64);
    for (std::size_t i = 0; i < bookings.size(); ++i) {
        bookings[i].sollAccount = static_cast<int32_t>(1000 + i * 37 % 9000);
        bookings[i].habenAccount = static_cast<int32_t>(1000 + i * 53 % 9000);
    }
    for (std::size_t i = 0; i < bookings.size(); ++i)
        bookings[i].vatRate = static_cast<int32_t>(i % 3 * 7);
    plain = bookings;
    const ReplaceOutcome indexed = ApplyReplaceEntries(bookings, list.entries);
    // The same entries one at a time, in file order.
    bool stopped = false;
    for (const ReplaceEntry& e : list.entries) {
        if (ApplyReplaceEntries(plain, std::span<const ReplaceEntry>(&e, 1)).stop !=
            ReplaceOutcome::Stop::None) {
            stopped = true;
            break;
        }
    }
    if (stopped || indexed.stop != ReplaceOutcome::Stop::None) return 0;
    for (std::size_t i = 0; i < bookings.size(); ++i) {
        if (bookings[i].sollAccount != plain[i].sollAccount ||
            bookings[i].habenAccount != plain[i].habenAccount ||
            bookings[i].datevKey != plain[i].datevKey) {
            std::abort();
        }
    }
    return 0;
}
