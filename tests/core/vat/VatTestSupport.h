#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <string_view>

#include "core/base/FixedText.h"
#include "core/bookings/BookingStore.h"
#include "core/vat/VatImport.h"
#include "core/vat/VatMessages.h"
#include "core/vat/VatRows.h"

namespace belvaron::test {

inline BookingRecord MakeBooking(int no, const char* date, int soll, int haben, const char* amount,
                                 const char* beleg = "") {
    BookingRecord b{};
    b.bookingNo = no;
    SetField(b.date, date);
    SetField(b.beleg, beleg);
    SetField(b.name, "Name");
    SetField(b.purpose, "Zweck");
    b.sollAccount = soll;
    b.habenAccount = haben;
    b.vatRate = 19;
    SetField(b.amount, amount);
    SetField(b.currency, "EUR");
    return b;
}

inline VatDetailRow MakeRow(int no, const char* date, int account, const char* amount) {
    VatDetailRow r{};
    r.bookingNo = no;
    SetField(r.date, date);
    r.account = account;
    SetField(r.amount, amount);
    return r;
}

inline void AppendBooking(BookingStore& store, const BookingRecord& b) {
    BookingRecord* room = store.AppendRoom();
    ASSERT_NE(room, nullptr);
    *room = b;
    ++store.bookingCount;
}

inline void AppendRow(VatRows& rows, const VatDetailRow& r) {
    VatDetailRow* room = rows.AppendRoom();
    ASSERT_NE(room, nullptr);
    *room = r;
    ++rows.count;
}

// The re-dating as the workflow runs it: the log "error_mwst.log" in
// `folder`; its messages, with the summary after a run to its end, are
// added to `shown`.
inline bool Redate(BookingStore& store, const VatRows& rows, const std::string& folder,
                   Notices& shown) {
    const VatRedateOutcome outcome =
        RedateVatBookings(store, rows, folder + "/" + msg::kVatLogName);
    shown.Append(outcome.notices);
    if (outcome.complete) shown.Append(VatRedateSummary(outcome));
    return outcome.complete;
}

inline bool SameBytes(const BookingRecord& a, const BookingRecord& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Lines joined with CR LF, each line ended by one.
inline std::string CrLf(std::initializer_list<std::string_view> lines) {
    std::string out;
    for (const auto line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

}  // namespace belvaron::test
