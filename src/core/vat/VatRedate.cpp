#include <cstring>
#include <string>
#include <string_view>

#include "core/base/FixedText.h"
#include "core/base/Format.h"
#include "core/base/TracePoint.h"
#include "core/base/UiPort.h"
#include "core/bookings/BookingStore.h"
#include "core/vat/VatCandidateIndex.h"
#include "core/vat/VatLog.h"
#include "core/vat/VatMessages.h"

namespace belvaron {

namespace {

void TakePayment(BookingRecord& booking, const VatDetailRow& row) {
    std::memcpy(booking.date, row.date, sizeof booking.date);
    std::memcpy(booking.amount, row.amount, sizeof booking.amount);
    booking.redated = 1;
}

// The index of the first row whose account differs from the first row's,
// -1 when all agree.
int32_t FirstOtherAccount(const BookingStore& store) {
    const int32_t vatAccount = store.vatRows[0].account;
    for (int32_t i = 1; i < store.vatRowCount; ++i) {
        if (store.vatRows[static_cast<std::size_t>(i)].account != vatAccount) return i;
    }
    return -1;
}

// True when the amount text's leading number (blanks, a sign, then digits
// with '.' and ',') has no digit other than 0: "0,00", "-0", "", "abc".
// "0,50" is not zero: a payment below one unit is still a payment.
bool AmountIsZero(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '1' && c <= '9') return false;
        if (c != '0' && c != ',' && c != '.') break;
    }
    return true;
}

enum class RowOutcome { Applied, Unmatched, Stopped };

// Applies one row: re-dates the first candidate not yet re-dated, or appends
// a copy of the last candidate for a further payment. Stopped after E:228 or
// E:229.
RowOutcome ApplyRow(BookingStore& store, VatCandidateIndex& index, const VatDetailRow& row) {
    const int group = index.Find(row.bookingNo);
    if (group < 0) return RowOutcome::Unmatched;
    const int32_t taken = index.Take(group);
    if (taken >= 0) {
        TakePayment(store[taken], row);
        return RowOutcome::Applied;
    }
    TracePoint = 2062;
    BookingRecord* copy = store.AppendRoom();
    if (!copy) {
        ShowPlain(store.ui(), msg::kE228);
        return RowOutcome::Stopped;
    }
    try {
        TracePoint = 2063;
        *copy = store[index.Last(group)];
        TakePayment(*copy, row);
        index.Appended(group, store.bookingCount);
        ++store.bookingCount;
    } catch (...) {
        ShowPlain(store.ui(), Format(msg::kE229, TracePoint, row.bookingNo));
        return RowOutcome::Stopped;
    }
    return RowOutcome::Applied;
}

// Sets the amount of every VAT booking that no payment reached to "0,00";
// returns their count and appends their numbers to `list`.
int32_t ZeroUnpaid(BookingStore& store, int32_t vatAccount, std::string& list, VatLog& log) {
    int32_t zeroed = 0;
    for (int32_t i = 0; i < store.bookingCount; ++i) {
        BookingRecord& b = store[i];
        if ((b.sollAccount != vatAccount && b.habenAccount != vatAccount) || b.redated != 0)
            continue;
        ++zeroed;
        AppendNumber(list, b.bookingNo);
        list += ',';
        std::memset(b.amount, 0, sizeof b.amount);
        std::memcpy(b.amount, "0,00", 4);
        log.Write(NoVatBookingLine(b));
    }
    return zeroed;
}

}  // namespace

// The log goes into the data folder (DataFolder()), beside the other files
// the program writes for the user, not into the current directory.
bool BookingStore::RedateVatBookings() {
    if (vatRowCount <= 0) return false;
    const int32_t vatAccount = vatRows[0].account;
    VatLog log;
    log.Open(DataFolder() + "/" + msg::kVatLogName);
    if (const int32_t other = FirstOtherAccount(*this); other >= 0) {
        ShowPlain(ui_, Format(msg::kE227, vatRows[static_cast<std::size_t>(other)].bookingNo));
        log.Close();
        return false;
    }

    VatCandidateIndex index(*this, vatAccount);
    int32_t redatedCount = 0;
    int32_t missing = 0;
    std::string list;
    for (int32_t i = 0; i < vatRowCount; ++i) {
        const VatDetailRow& row = vatRows[static_cast<std::size_t>(i)];
        const RowOutcome outcome = ApplyRow(*this, index, row);
        if (outcome == RowOutcome::Stopped) {
            log.Close();
            return false;
        }
        if (outcome == RowOutcome::Applied) {
            ++redatedCount;
        } else if (!AmountIsZero(FieldText(row.amount))) {
            ++missing;
            AppendNumber(list, row.bookingNo);
            list += ',';
            log.Write(NoJournalBookingLine(row));
        }
    }
    if (missing == 0) {
        ShowInfo(ui_, Format(msg::kRedated, redatedCount));
    } else {
        ShowPlain(ui_, Format(msg::kE230, redatedCount, missing, list.c_str()));
    }

    list.clear();
    const int32_t zeroed = ZeroUnpaid(*this, vatAccount, list, log);
    log.Close();
    if (zeroed > 0) ShowPlain(ui_, Format(msg::kE231, zeroed, list.c_str()));
    return true;
}

}  // namespace belvaron
