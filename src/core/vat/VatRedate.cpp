#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/ErrnoText.h"
#include "core/base/FixedText.h"
#include "core/base/Format.h"
#include "core/base/Text.h"
#include "core/base/TracePoint.h"
#include "core/bookings/BookingStore.h"
#include "core/platform/Files.h"
#include "core/vat/VatCandidateIndex.h"
#include "core/vat/VatImport.h"
#include "core/vat/VatLog.h"
#include "core/vat/VatMessages.h"
#include "core/vat/VatRows.h"

namespace belvaron {

namespace {

void TakePayment(BookingRecord& booking, const VatDetailRow& row) {
    std::memcpy(booking.date, row.date, sizeof booking.date);
    std::memcpy(booking.amount, row.amount, sizeof booking.amount);
    booking.redated = 1;
}

// What a re-dating changes of the bookings that were there before it, kept
// so that a cancelled run can put them back; copies it appended go by the
// count.
class RedateUndo {
public:
    RedateUndo(BookingStore& store, bool keep) : store_(store), keep_(keep) {
        countBefore_ = store.bookingCount;
    }
    // Before booking `index` is changed.
    void Keep(int32_t index) {
        if (!keep_ || index >= countBefore_) return;
        Saved s{index, {}, {}, store_[index].redated};
        std::memcpy(s.date, store_[index].date, sizeof s.date);
        std::memcpy(s.amount, store_[index].amount, sizeof s.amount);
        saved_.push_back(s);
    }
    void Restore() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            BookingRecord& b = store_[it->index];
            std::memcpy(b.date, it->date, sizeof b.date);
            std::memcpy(b.amount, it->amount, sizeof b.amount);
            b.redated = it->redated;
        }
        store_.bookingCount = countBefore_;
    }

private:
    struct Saved {
        int32_t index;
        char date[sizeof BookingRecord::date];
        char amount[sizeof BookingRecord::amount];
        int8_t redated;
    };
    BookingStore& store_;
    bool keep_;
    int32_t countBefore_ = 0;
    std::vector<Saved> saved_;
};

// The index of the first row whose account differs from the first row's,
// -1 when all agree.
int32_t FirstOtherAccount(const VatRows& rows) {
    const int32_t vatAccount = rows[0].account;
    for (int32_t i = 1; i < rows.count; ++i) {
        if (rows[i].account != vatAccount) return i;
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
RowOutcome ApplyRow(BookingStore& store, VatCandidateIndex& index, const VatDetailRow& row,
                    Notices& notices, RedateUndo& undo) {
    const int group = index.Find(row.bookingNo);
    if (group < 0) return RowOutcome::Unmatched;
    const int32_t taken = index.Take(group);
    if (taken >= 0) {
        undo.Keep(taken);
        TakePayment(store[taken], row);
        return RowOutcome::Applied;
    }
    TracePoint = 2062;
    BookingRecord* copy = store.AppendRoom();
    if (!copy) {
        notices.Plain(msg::kE228);
        return RowOutcome::Stopped;
    }
    try {
        TracePoint = 2063;
        *copy = store[index.Last(group)];
        TakePayment(*copy, row);
        index.Appended(group, store.bookingCount);
        ++store.bookingCount;
    } catch (...) {
        notices.Plain(Format(msg::kE229, TracePoint, row.bookingNo));
        return RowOutcome::Stopped;
    }
    return RowOutcome::Applied;
}

// Sets the amount of every VAT booking that no payment reached to "0,00";
// returns their count and appends their numbers to `list`.
int32_t ZeroUnpaid(BookingStore& store, int32_t vatAccount, std::vector<int32_t>& list,
                   VatLog& log) {
    int32_t zeroed = 0;
    for (int32_t i = 0; i < store.bookingCount; ++i) {
        BookingRecord& b = store[i];
        if ((b.sollAccount != vatAccount && b.habenAccount != vatAccount) || b.redated != 0)
            continue;
        ++zeroed;
        list.push_back(b.bookingNo);
        std::memset(b.amount, 0, sizeof b.amount);
        std::memcpy(b.amount, "0,00", 4);
        log.Write(NoVatBookingLine(b));
    }
    return zeroed;
}

}  // namespace

VatRedateOutcome RedateVatBookings(BookingStore& store, const VatRows& rows,
                                   const std::string& logPath, const Progress* progress) {
    VatRedateOutcome outcome;
    if (rows.count <= 0) {
        outcome.notices.Plain(msg::kE232);
        return outcome;
    }
    const int32_t vatAccount = rows[0].account;
    VatLog log;
    log.Open(logPath);
    if (const int32_t other = FirstOtherAccount(rows); other >= 0) {
        outcome.notices.Plain(Format(msg::kE227, rows[other].bookingNo));
        log.Close();
        return outcome;
    }

    VatCandidateIndex index(store, vatAccount);
    RedateUndo undo(store, progress != nullptr);
    ProgressCount count(progress, rows.count);
    for (int32_t i = 0; i < rows.count; ++i) {
        if (!count.Step()) {
            undo.Restore();  // the log's new file goes with `log`
            outcome = VatRedateOutcome{};
            outcome.cancelled = true;
            return outcome;
        }
        const VatDetailRow& row = rows[i];
        const RowOutcome applied = ApplyRow(store, index, row, outcome.notices, undo);
        if (applied == RowOutcome::Stopped) {
            log.Close();
            return outcome;
        }
        if (applied == RowOutcome::Applied) {
            ++outcome.redated;
        } else if (!AmountIsZero(FieldText(row.amount))) {
            ++outcome.missing;
            outcome.missingNumbers.push_back(row.bookingNo);
            log.Write(NoJournalBookingLine(row));
        }
    }
    outcome.zeroed = ZeroUnpaid(store, vatAccount, outcome.zeroedNumbers, log);
    outcome.logPath = logPath;
    if (!log.Close()) outcome.logError = log.error() != 0 ? log.error() : EIO;
    outcome.complete = true;
    return outcome;
}

namespace {

// The log's path from the root, for a message.
std::string FullPath(const std::string& path) {
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(platform::FsPath(path), ec);
    return ec ? path : platform::Utf8Path(full.lexically_normal());
}

}  // namespace

Notices VatRedateSummary(const VatRedateOutcome& outcome) {
    const std::string logPath = FullPath(outcome.logPath);
    const std::string more = outcome.logError != 0
                                 ? std::string(msg::kMoreNumbersNoLog)
                                 : ReplaceMarker(msg::kMoreNumbers, "%2", logPath);
    const auto list = [&more](const std::vector<int32_t>& numbers) {
        return CappedNumberList(numbers, msg::kShownBookingNumbers, more);
    };
    Notices summary;
    if (outcome.missing == 0) {
        summary.Information(Format(msg::kRedated, outcome.redated));
    } else {
        summary.Plain(Format(msg::kE230, outcome.redated, outcome.missing,
                             list(outcome.missingNumbers).c_str(), logPath.c_str()));
    }
    if (outcome.zeroed > 0) {
        summary.Plain(Format(msg::kE231, outcome.zeroed, list(outcome.zeroedNumbers).c_str(),
                             logPath.c_str()));
    }
    if (outcome.logError != 0) {
        const std::string reason = ErrnoReason(outcome.logError, ReasonForm::Phrase);
        summary.Plain(Format(msg::kE234, logPath.c_str(), reason.c_str()));
    }
    return summary;
}

}  // namespace belvaron
