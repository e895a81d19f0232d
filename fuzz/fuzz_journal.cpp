// The journal import with everything downstream in memory: sort, list
// lines, and the three writers' byte builders.
#include <cstdint>

#include "FuzzSupport.h"
#include "core/bookings/BookingOperations.h"
#include "core/bookings/BookingStore.h"
#include "core/bookings/JournalImport.h"
#include "core/datev/DatevSettingsFile.h"
#include "core/datev/PostversandWriter.h"
#include "core/lexware/LexwareExport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace belvaron;
    test::FakeUi ui;
    BookingStore store(2000);
    static ImportGrid grid;
    const JournalOutcome outcome =
        LoadJournal(store, grid, fuzz::WriteInput(data, size), Currency::Euro);
    if (!outcome.loaded) return 0;
    SortByDate(store);
    for (int32_t i = 0; i < store.bookingCount; ++i) (void)FormatListLine(store, i);
    std::string lexware;
    for (int32_t i = 0; i < store.bookingCount; ++i) AppendLexwareLine(store[i], lexware);
    const DatevSettings settings = DefaultDatevSettings();
    const DatevRange range{"01.01.1990", "31.12.2030"};
    (void)StreamPostversandDataFile(store, settings, range, [](std::string_view) { return true; });
    return 0;
}
