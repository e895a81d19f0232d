// The VAT report import followed by the re-dating of a small journal.
#include <cstdint>

#include "FuzzSupport.h"
#include "core/base/FixedText.h"
#include "core/bookings/BookingStore.h"
#include "core/vat/VatImport.h"
#include "core/vat/VatRows.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace belvaron;
    VatRows rows(500);
    (void)ImportVatReport(rows, fuzz::WriteInput(data, size));
    BookingStore store(1000);
    for (int32_t i = 0; i < 20; ++i) {
        BookingRecord& b = store.bookings[static_cast<std::size_t>(i)];
        b = BookingRecord{};
        b.bookingNo = i + 1;
        SetField(b.date, "10.01.2013");
        b.sollAccount = 1400;
        b.habenAccount = i % 2 ? 1775 : 8400;
        SetField(b.amount, "19,00");
        store.bookingCount = i + 1;
    }
    (void)RedateVatBookings(store, rows, "/dev/null/error_mwst.log");
    return 0;
}
