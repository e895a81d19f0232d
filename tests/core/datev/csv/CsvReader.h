#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "DatevRuleCheck.h"
#include "DatevRules.h"
#include "FakeUi.h"
#include "core/base/FixedText.h"
#include "core/bookings/BookingStore.h"
#include "core/datev/DatevSettings.h"

// The tests' reader of DATEV-Format (CSV) files (DatevRules.h) under
// GoogleTest, and the helpers that build stores and settings.
namespace belvaron::test {

// ParseCsvRecords, failing the test on every problem of the CSV form.
inline std::vector<CsvRecord> ParseCsv(std::string_view bytes) {
    std::vector<std::string> problems;
    std::vector<CsvRecord> records = ParseCsvRecords(bytes, problems);
    for (const std::string& problem : problems) ADD_FAILURE() << problem;
    return records;
}

// Settings that pass every check: advisor 29098, client 55003, "WD",
// 4-digit accounts, SKR 03, fiscal year from 01.01.
inline DatevSettings GoodSettings() {
    DatevSettings s;
    s.beraternummer = 29098;
    s.mandantennummer = 55003;
    SetField(s.dfvKennzeichen, "WD");
    s.kontonummernlaenge = 4;
    return s;
}

struct TestBooking {
    int32_t no = 1;
    const char* date = "05.03.2024";
    const char* beleg = "R-1";
    const char* name = "Name";
    const char* purpose = "Zweck";
    int32_t soll = 1200;
    int32_t haben = 8400;
    const char* amount = "100,00";
    const char* currency = "EUR";
    int32_t key = 0;
};

inline void Append(BookingStore& store, const TestBooking& t) {
    BookingRecord* b = store.AppendRoom();
    ASSERT_NE(b, nullptr);
    *b = BookingRecord{};
    b->bookingNo = t.no;
    SetField(b->date, t.date);
    SetField(b->beleg, t.beleg);
    SetField(b->name, t.name);
    SetField(b->purpose, t.purpose);
    b->sollAccount = t.soll;
    b->habenAccount = t.haben;
    SetField(b->amount, t.amount);
    SetField(b->currency, t.currency);
    b->datevKey = t.key;
    ++store.bookingCount;
}

}  // namespace belvaron::test
