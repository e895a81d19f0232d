#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "FakeUi.h"
#include "core/base/FixedText.h"
#include "core/bookings/BookingStore.h"
#include "core/datev/DatevSettings.h"

// An independent reader of DATEV-Format (CSV) files for the tests, and the
// helpers that build stores and settings.
namespace belvaron::test {

struct CsvField {
    std::string text;  // unquoted, "" undoubled
    bool quoted = false;
};
using CsvRecord = std::vector<CsvField>;

// Splits the bytes into lines at CR LF and the lines into fields at ';'
// outside quotes. Fails the test on a bare CR or LF, a missing final CR LF,
// an unclosed quote or a character after a closing quote.
inline std::vector<CsvRecord> ParseCsv(std::string_view bytes) {
    std::vector<CsvRecord> records;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", pos);
        if (end == std::string_view::npos) {
            ADD_FAILURE() << "last line without CR LF";
            break;
        }
        const std::string_view line = bytes.substr(pos, end - pos);
        pos = end + 2;
        EXPECT_EQ(line.find_first_of("\r\n"), std::string_view::npos) << "bare CR or LF";
        CsvRecord record(1);
        bool inQuotes = false, closed = false;
        for (std::size_t i = 0; i < line.size(); ++i) {
            const char c = line[i];
            CsvField& f = record.back();
            if (inQuotes) {
                if (c != '"') {
                    f.text += c;
                } else if (i + 1 < line.size() && line[i + 1] == '"') {
                    f.text += '"';
                    ++i;
                } else {
                    inQuotes = false;
                    closed = true;
                }
            } else if (c == ';') {
                record.emplace_back();
                closed = false;
            } else if (c == '"' && f.text.empty() && !f.quoted) {
                f.quoted = inQuotes = true;
            } else {
                EXPECT_FALSE(closed) << "text after a closing quote in: " << line;
                EXPECT_NE(c, '"') << "stray quote in: " << line;
                f.text += c;
            }
        }
        EXPECT_FALSE(inQuotes) << "unclosed quote in: " << line;
        records.push_back(std::move(record));
    }
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
