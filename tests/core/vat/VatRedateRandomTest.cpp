// The indexed re-dating against a plain scan of the store for every row, and
// the properties every re-dating keeps, on random journals and reports.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "TempDir.h"
#include "VatTestSupport.h"
#include "core/base/FixedText.h"
#include "core/base/Format.h"
#include "core/bookings/BookingStore.h"
#include "core/vat/VatMessages.h"

namespace belvaron {
namespace {

constexpr int kVat = 2200;

// An amount is zero when the digits of its leading number are all 0.
bool ReferenceZero(const VatDetailRow& row) {
    const std::string text(FieldText(row.amount));
    const auto start = text.find_first_not_of(" \t\r\n\v\f");
    if (start == std::string::npos) return true;
    std::string number = text.substr(start);
    if (number[0] == '+' || number[0] == '-') number.erase(0, 1);
    number = number.substr(0, number.find_first_not_of("0123456789.,"));
    return number.find_first_of("123456789") == std::string::npos;
}

// The re-dating as a scan of the whole store for each row.
// At most 50 numbers of a message's list, the rest counted, pointing to the log.
std::string ReferenceList(const std::vector<int32_t>& numbers, const std::string& logPath) {
    std::string list;
    for (std::size_t i = 0; i < numbers.size() && i < 50; ++i) {
        list += std::to_string(numbers[i]) + ",";
    }
    if (numbers.size() > 50) {
        list += " … und " + std::to_string(numbers.size() - 50) +
                " weitere (vollständige Liste in " + logPath + ")";
    }
    return list;
}

bool ReferenceRedate(BookingStore& s, const VatRows& rows, Notices& shown, std::string& log,
                     const std::string& logPath) {
    if (rows.count == 0) {
        shown.Plain(msg::kE232);
        return false;
    }
    const int32_t vat = rows[0].account;
    for (int32_t i = 1; i < rows.count; ++i) {
        if (rows[i].account != vat) {
            shown.Plain(
                Format("(E:227)\nFehler: Unterschiedliche MwSt-Konten, Buchungsnr:%d\n"
                       "Vermutlich ist in Quickbooks SOLL-Besteuerung aktiviert!",
                       rows[i].bookingNo));
            return false;
        }
    }
    int redated = 0, missing = 0;
    std::vector<int32_t> list;
    for (int32_t r = 0; r < rows.count; ++r) {
        const VatDetailRow& row = rows[r];
        int32_t taken = -1, marked = -1;
        for (int32_t j = 0; j < s.bookingCount; ++j) {
            const BookingRecord& b = s[j];
            if (b.bookingNo != row.bookingNo ||
                (row.account != b.sollAccount && row.account != b.habenAccount))
                continue;
            if (b.redated == 0) {
                taken = j;
                break;
            }
            marked = j;
        }
        int32_t target = taken;
        if (taken < 0 && marked >= 0) {
            BookingRecord* copy = s.AppendRoom();
            if (!copy) {
                shown.Plain("(E:228)\nEs konnte nicht genug Speicher allokiert werden");
                return false;
            }
            *copy = s[marked];
            target = s.bookingCount++;
        }
        if (target >= 0) {
            std::memcpy(s[target].date, row.date, 20);
            std::memcpy(s[target].amount, row.amount, 30);
            s[target].redated = 1;
            ++redated;
        } else if (!ReferenceZero(row)) {
            ++missing;
            list.push_back(row.bookingNo);
            log += "MwSt-IST-Abgleich: Keine Journal-Buchung gefunden: Nr:" +
                   std::to_string(row.bookingNo) +
                   " MwSt-Datum:" + std::string(FieldText(row.date)) + "\r\n";
        }
    }
    if (missing == 0) {
        shown.Information(
            Format("Bei %d MwSt-Buchungen wurde das Datum geändert (IST-Besteuerung).", redated));
    } else {
        shown.Plain(
            Format("(E:230) ACHTUNG:\nBei %d MwSt-Buchungen wurde das Datum geändert "
                   "(IST-Besteuerung).\n"
                   "Bei %d MwSt-Buchungen konnte die Original-Buchung nicht gefunden werden:\n"
                   "Buchungs-Nummern: %s\nErweitern Sie bitte den Datums-Bereich des Journals.\n"
                   "(Siehe auch Datei %s)",
                   redated, missing, ReferenceList(list, logPath).c_str(), logPath.c_str()));
    }
    list.clear();
    int zeroed = 0;
    for (int32_t j = 0; j < s.bookingCount; ++j) {
        BookingRecord& b = s[j];
        if ((b.sollAccount == vat || b.habenAccount == vat) && b.redated == 0) {
            ++zeroed;
            list.push_back(b.bookingNo);
            SetField(b.amount, "0,00");
            log += "MwSt-IST-Abgleich: Keine MwSt-Buchung gefunden: Nr:" +
                   std::to_string(b.bookingNo) +
                   " Journal-Datum:" + std::string(FieldText(b.date)) +
                   " Beleg:" + std::string(FieldText(b.beleg)) + "\r\n";
        }
    }
    if (zeroed > 0) {
        shown.Plain(
            Format("(E:231) ACHTUNG:\nBei %d Journal-Buchungen wurde keine MwSt-Buchung gefunden.\n"
                   "Buchungs-Nummern: %s\n"
                   "Die Beträge wurden auf 0,00 gesetzt (evt.noch nicht bezahlte Rechnungen).\n"
                   "Erweitern Sie sonst den Datums-Bereich des MwSt-Berichts.\n"
                   "(Siehe auch Datei %s)",
                   zeroed, ReferenceList(list, logPath).c_str(), logPath.c_str()));
    }
    return true;
}

struct Scenario {
    std::vector<BookingRecord> bookings;
    std::vector<VatDetailRow> rows;
    int extraCapacity = 0;
};

// Bookings of a few numbers against the VAT account or others, in random
// order, some already re-dated when `preRedated`; rows for those numbers and
// some others, now and then with another account.
Scenario RandomScenario(std::mt19937& rng, bool preRedated, bool otherAccounts) {
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    static const char* kAmounts[] = {"12,50", "0,00", "0,50", "3", "-7,10", "1.234,56", "-0,00"};
    Scenario s;
    const int bookings = pick(40);
    for (int i = 0; i < bookings; ++i) {
        const int no = 1 + pick(12);
        const int other = 1000 + pick(3);
        const int kind = pick(3);
        const int soll = kind == 0 ? kVat : other;
        const int haben = kind == 1 ? kVat : other + 400;
        BookingRecord b = test::MakeBooking(no, Format("%02d.01.2013", 1 + pick(28)).c_str(), soll,
                                            haben, kAmounts[pick(7)], Format("B%d", i).c_str());
        if (preRedated && pick(4) == 0) b.redated = 1;
        s.bookings.push_back(b);
    }
    const int rows = pick(30);
    for (int i = 0; i < rows; ++i) {
        const int account = otherAccounts && pick(20) == 0 ? kVat + 1 : kVat;
        s.rows.push_back(test::MakeRow(1 + pick(16), Format("%02d.02.2013", 1 + pick(28)).c_str(),
                                       account, kAmounts[pick(7)]));
    }
    s.extraCapacity = pick(8);
    return s;
}

void Load(BookingStore& store, VatRows& rows, const Scenario& s) {
    for (const auto& b : s.bookings) test::AppendBooking(store, b);
    for (const auto& r : s.rows) test::AppendRow(rows, r);
}

TEST(VatRedateRandomTest, IndexedRunEqualsThePlainScan) {
    std::mt19937 rng(20130115);
    for (int round = 0; round < 400; ++round) {
        const Scenario s = RandomScenario(rng, round % 2 == 1, round % 3 == 0);
        const std::size_t capacity = s.bookings.size() + static_cast<std::size_t>(s.extraCapacity);
        test::TempDir dir;
        Notices shown, refShown;
        BookingStore store(capacity), reference(capacity);
        VatRows rows(100), referenceRows(100);
        Load(store, rows, s);
        Load(reference, referenceRows, s);
        std::string refLog;
        const bool ok = test::Redate(store, rows, dir.path(), shown);
        ASSERT_EQ(ok, ReferenceRedate(reference, referenceRows, refShown, refLog,
                                      dir.File("error_mwst.log")))
            << "round " << round;
        ASSERT_EQ(store.bookingCount, reference.bookingCount) << "round " << round;
        for (int32_t i = 0; i < store.bookingCount; ++i) {
            ASSERT_TRUE(test::SameBytes(store[i], reference[i]))
                << "round " << round << " booking " << i;
        }
        EXPECT_EQ(shown.items(), refShown.items()) << "round " << round;
        EXPECT_EQ(test::ReadFile(dir.File("error_mwst.log")), refLog) << "round " << round;
    }
}

// For a journal (nothing re-dated yet) and a report of one account with room
// enough: the store grows by exactly the further payments, every row of a
// number with a VAT booking re-dates one, and every VAT booking ends either
// re-dated or at "0,00".
TEST(VatRedateRandomTest, GrowthAndOutcomeOfEveryVatBooking) {
    std::mt19937 rng(4711);
    for (int round = 0; round < 300; ++round) {
        const Scenario s = RandomScenario(rng, false, false);
        std::map<int32_t, int> candidates, payments;
        for (const auto& b : s.bookings) {
            if (b.sollAccount == kVat || b.habenAccount == kVat) ++candidates[b.bookingNo];
        }
        int applied = 0, further = 0;
        for (const auto& r : s.rows) {
            if (!candidates.count(r.bookingNo)) continue;
            ++applied;
            if (++payments[r.bookingNo] > candidates[r.bookingNo]) ++further;
        }
        test::TempDir dir;
        Notices shown;
        BookingStore store(200);
        VatRows rows(100);
        Load(store, rows, s);
        const bool ran = test::Redate(store, rows, dir.path(), shown);
        EXPECT_EQ(ran, !s.rows.empty());
        EXPECT_EQ(store.bookingCount, static_cast<int32_t>(s.bookings.size()) + further)
            << "round " << round;
        int redated = 0;
        for (int32_t i = 0; i < store.bookingCount; ++i) {
            const BookingRecord& b = store[i];
            if (b.sollAccount != kVat && b.habenAccount != kVat) {
                EXPECT_EQ(b.redated, 0);
                continue;
            }
            if (b.redated == 1) {
                ++redated;
            } else if (ran) {
                EXPECT_EQ(FieldText(b.amount), "0,00") << "round " << round << " booking " << i;
            }
        }
        EXPECT_EQ(redated, applied) << "round " << round;
    }
}

}  // namespace
}  // namespace belvaron
