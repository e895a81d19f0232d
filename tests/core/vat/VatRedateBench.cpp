// Times the cash-basis re-dating: 1,000,000 bookings (300,000 of them VAT
// bookings, some with two), 300,000 VAT rows with part payments and rows
// without booking. Run by hand: build/tests/core/vat/bench_vat_redate
#include <chrono>
#include <cstdio>
#include <random>
#include <string>

#include "TempDir.h"
#include "core/base/FixedText.h"
#include "core/base/Format.h"
#include "core/bookings/BookingStore.h"
#include "core/vat/VatImport.h"
#include "core/vat/VatRows.h"

namespace {

// Prints the start of each message that stopped the run.
void PrintStarts(const belvaron::Notices& notices) {
    for (const belvaron::Notice& notice : notices.items()) {
        const std::string& text = notice.text;
        std::printf("message: %.*s...\n", static_cast<int>(text.size() < 80 ? text.size() : 80),
                    text.data());
    }
}

}  // namespace

int main() {
    using namespace belvaron;
    BookingStore store(1'100'000);
    VatRows rows(1'000'000);
    test::TempDir dir;
    std::mt19937 rng(1);
    for (int32_t i = 0; i < 1'000'000; ++i) {
        BookingRecord* b = store.AppendRoom();
        *b = BookingRecord{};
        b->bookingNo = 1 + i / 3;  // three records per journal booking
        SetField(b->date, "02.01.2025");
        SetField(b->beleg, "RE");
        b->sollAccount = 1400;
        b->habenAccount = (i % 3 == 1) ? 2200 : 8400;
        SetField(b->amount, "19,00");
        ++store.bookingCount;
    }
    for (int32_t r = 0; r < 300'000; ++r) {
        VatDetailRow* row = rows.AppendRoom();
        *row = VatDetailRow{};
        row->bookingNo = 1 + static_cast<int32_t>(rng() % 400'000);  // some beyond the journal
        SetField(row->date, "15.02.2025");
        row->account = 2200;
        SetField(row->amount, "9,50");
        ++rows.count;
    }
    const auto start = std::chrono::steady_clock::now();
    const VatRedateOutcome outcome = RedateVatBookings(store, rows, dir.File("error_mwst.log"));
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    PrintStarts(outcome.notices);
    std::printf("re-dated %d rows against 1000000 bookings in %lld ms; %d bookings now\n",
                rows.count, static_cast<long long>(ms.count()), store.bookingCount);
    return 0;
}
