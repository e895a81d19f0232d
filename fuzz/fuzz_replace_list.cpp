// The REPLACE list reader and its indexed application, compared with the
// plain file-order loop: every entry for every booking, the key set by the
// first entry applied to a booking and afterwards only by keys above 0.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>
#include <vector>

#include "core/bookings/BookingRecord.h"
#include "core/mapping/ReplaceList.h"

namespace {

using belvaron::BookingRecord;
using belvaron::ReplaceEntry;
using belvaron::ReplaceOutcome;

// False when a zero replacement stopped the run.
bool ApplyPlainly(BookingRecord& b, std::span<const ReplaceEntry> entries) {
    bool keySet = false;
    for (const ReplaceEntry& e : entries) {
        const int32_t prevSoll = b.sollAccount;
        const int32_t prevHaben = b.habenAccount;
        const bool rate = e.vatRate == 0 || e.vatRate == b.vatRate;
        const bool pre = e.preconditionAccount == 0 || e.preconditionAccount == prevHaben ||
                         e.preconditionAccount == prevSoll;
        if (e.qbAccount == b.sollAccount && rate) {
            if (e.sollAccount == 0) return false;
            if (pre) {
                b.sollAccount = e.sollAccount;
                if (e.datevKey > 0 || !keySet) b.datevKey = e.datevKey;
                keySet = true;
            }
        }
        if (e.qbAccount == b.habenAccount && rate) {
            if (e.habenAccount == 0) return false;
            if (pre) {
                b.habenAccount = e.habenAccount;
                if (e.datevKey > 0 || !keySet) b.datevKey = e.datevKey;
                keySet = true;
            }
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace belvaron;
    const ReplaceListText list =
        ReadReplaceList(std::string_view(reinterpret_cast<const char*>(data), size));
    std::vector<BookingRecord> bookings(64), plain(64);
    for (std::size_t i = 0; i < bookings.size(); ++i) {
        bookings[i].sollAccount = static_cast<int32_t>(1000 + i * 37 % 9000);
        bookings[i].habenAccount = static_cast<int32_t>(1000 + i * 53 % 9000);
        bookings[i].vatRate = static_cast<int32_t>(i % 3 * 7);
        bookings[i].datevKey = static_cast<int32_t>(i % 2 * 9);
    }
    plain = bookings;
    const ReplaceOutcome indexed = ApplyReplaceEntries(bookings, list.entries);
    // Bookings are independent: the run stops at the first booking a zero
    // replacement meets, and every booking before it must agree.
    std::size_t compared = plain.size();
    for (std::size_t i = 0; i < plain.size(); ++i) {
        if (!ApplyPlainly(plain[i], list.entries)) {
            compared = i;
            break;
        }
    }
    if ((indexed.stop != ReplaceOutcome::Stop::None) != (compared < plain.size())) std::abort();
    for (std::size_t i = 0; i < compared; ++i) {
        if (bookings[i].sollAccount != plain[i].sollAccount ||
            bookings[i].habenAccount != plain[i].habenAccount ||
            bookings[i].datevKey != plain[i].datevKey) {
            std::abort();
        }
    }
    return 0;
}
