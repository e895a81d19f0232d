#pragma once

#include <cstring>
#include <string>
#include <string_view>

#include "core/base/FixedText.h"
#include "core/bookings/BookingStore.h"
#include "core/datev/DatevRange.h"
#include "core/datev/DatevSettings.h"

namespace belvaron::test {

// One booking with every field written.
struct NewBooking {
    int32_t bookingNo = 1;
    std::string_view date = "05.03.2005";
    std::string_view beleg = "R-1";
    std::string_view name = "Mueller";
    std::string_view purpose = "Rechnung";
    int32_t soll = 4400;
    int32_t haben = 1200;
    std::string_view amount = "1.234,56";
    std::string_view currency = "EUR";
    int32_t key = 0;
};

inline void AddBooking(BookingStore& store, const NewBooking& nb) {
    BookingRecord* b = store.AppendRoom();
    std::memset(b, 0, sizeof *b);
    b->bookingNo = nb.bookingNo;
    SetField(b->date, nb.date);
    SetField(b->beleg, nb.beleg);
    SetField(b->name, nb.name);
    SetField(b->purpose, nb.purpose);
    b->sollAccount = nb.soll;
    b->habenAccount = nb.haben;
    b->vatRate = 19;
    SetField(b->amount, nb.amount);
    SetField(b->currency, nb.currency);
    b->datevKey = nb.key;
    b->redated = 0;
    ++store.bookingCount;
}

// Settings of a typical client, extended or old format.
inline void SetTypicalSettings(DatevSettings& s, bool extended) {
    s.beraternummer = 1234567;
    SetField(s.beratername, "Schmidt   ");
    s.mandantennummer = 12345;
    SetField(s.dfvKennzeichen, "AB");
    s.datentraegernummer = 1;
    s.abrechnungsnummer = 17;
    SetField(s.passwort, "pw12");
    s.kontonummernerweiterung = extended ? 1 : 0;
    s.kontonummernlaenge = 4;
}

inline void SetRange(DatevRange& range, std::string_view from, std::string_view to) {
    range.from = from;
    range.to = to;
}

}  // namespace belvaron::test
