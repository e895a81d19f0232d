#include "mapping/ReplaceList.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <memory>
#include <numeric>

#include "app/Format.h"
#include "app/TracePoint.h"
#include "app/UiPort.h"
#include "bookings/DataSet.h"
#include "mapping/MappingMessages.h"

namespace belvaron {

namespace {

// The entry indices of each qbAccount, ascending, in one flat table.
class EntryIndex {
public:
    explicit EntryIndex(std::span<const ReplaceEntry> entries) : indices_(entries.size()) {
        std::iota(indices_.begin(), indices_.end(), 0);
        std::stable_sort(indices_.begin(), indices_.end(), [&](int a, int b) {
            return entries[static_cast<std::size_t>(a)].qbAccount <
                   entries[static_cast<std::size_t>(b)].qbAccount;
        });
        accounts_.reserve(indices_.size());
        for (int i : indices_) accounts_.push_back(entries[static_cast<std::size_t>(i)].qbAccount);
    }

    // The indices of the entries for `account`, in file order.
    std::span<const int> For(int32_t account) const {
        const auto [first, last] = std::equal_range(accounts_.begin(), accounts_.end(), account);
        return std::span<const int>(indices_).subspan(
            static_cast<std::size_t>(first - accounts_.begin()),
            static_cast<std::size_t>(last - first));
    }

private:
    std::vector<int> indices_;
    std::vector<int32_t> accounts_;
};

constexpr int kNone = std::numeric_limits<int>::max();

// The first index in `list` after `current`, kNone when there is none.
int NextAfter(std::span<const int> list, int current) {
    const auto it = std::upper_bound(list.begin(), list.end(), current);
    return it == list.end() ? kNone : *it;
}

bool RateMatches(const ReplaceEntry& e, const BookingRecord& b) {
    return e.vatRate == 0 || e.vatRate == b.vatRate;
}

bool PreconditionMet(const ReplaceEntry& e, int32_t prevSoll, int32_t prevHaben) {
    return e.preconditionAccount == 0 || e.preconditionAccount == prevHaben ||
           e.preconditionAccount == prevSoll;
}

// The first entry that replaces anything in a booking always sets its key;
// later ones only a key above 0.
void ApplyKey(const ReplaceEntry& e, BookingRecord& b, bool& keySet) {
    if (e.datevKey > 0 || !keySet) b.datevKey = e.datevKey;
    keySet = true;
}

// One entry on one booking: the SOLL side, then the HABEN side of the booking
// as it stands after that. False when a zero replacement stopped the run.
bool ApplyEntry(const ReplaceEntry& e, BookingRecord& b, bool& keySet, ReplaceOutcome& out) {
    const int32_t prevSoll = b.sollAccount;
    const int32_t prevHaben = b.habenAccount;
    if (e.qbAccount == b.sollAccount && RateMatches(e, b)) {
        TracePoint = 2035;
        if (e.sollAccount == 0) {
            out.stop = ReplaceOutcome::Stop::SollZero;
            out.qbAccount = e.qbAccount;
            return false;
        }
        TracePoint = 2036;
        if (PreconditionMet(e, prevSoll, prevHaben)) {
            b.sollAccount = e.sollAccount;
            ApplyKey(e, b, keySet);
            ++out.sollCount;
        }
    }
    if (e.qbAccount == b.habenAccount && RateMatches(e, b)) {
        TracePoint = 2037;
        if (e.habenAccount == 0) {
            out.stop = ReplaceOutcome::Stop::HabenZero;
            out.qbAccount = e.qbAccount;
            return false;
        }
        TracePoint = 2038;
        if (PreconditionMet(e, prevSoll, prevHaben)) {
            b.habenAccount = e.habenAccount;
            ApplyKey(e, b, keySet);
            ++out.habenCount;
        }
    }
    return true;
}

// Walks the entries in file order that can act on the booking: only those
// whose qbAccount equals its current SOLL or HABEN account. Entries in
// between change nothing, so skipping them keeps the file-order result.
bool ApplyToBooking(const EntryIndex& index, std::span<const ReplaceEntry> entries,
                    BookingRecord& b, ReplaceOutcome& out) {
    bool keySet = false;
    std::span<const int> sollList = index.For(b.sollAccount);
    std::span<const int> habenList = index.For(b.habenAccount);
    int current = -1;
    for (;;) {
        const int next = std::min(NextAfter(sollList, current), NextAfter(habenList, current));
        if (next == kNone) return true;
        TracePoint = 2034;
        const int32_t soll = b.sollAccount;
        const int32_t haben = b.habenAccount;
        if (!ApplyEntry(entries[static_cast<std::size_t>(next)], b, keySet, out)) return false;
        if (b.sollAccount != soll) sollList = index.For(b.sollAccount);
        if (b.habenAccount != haben) habenList = index.For(b.habenAccount);
        current = next;
    }
}

}  // namespace

ReplaceOutcome ApplyReplaceEntries(std::span<BookingRecord> bookings,
                                   std::span<const ReplaceEntry> entries) {
    TracePoint = 2033;
    ReplaceOutcome out;
    const EntryIndex index(entries);
    for (BookingRecord& b : bookings) {
        if (!ApplyToBooking(index, entries, b, out)) break;
    }
    return out;
}

bool CDataSet::ApplyReplaceList() {
    const std::string path = ResolveDataFile(msg::kReplaceFileName);
    TracePoint = 2029;
    ReplaceListText list;
    {
        const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                                   &std::fclose);
        if (!file) {
            ShowPlain(ui_, msg::kE206);
            return false;
        }
        list = ReadReplaceList(file.get());
    }
    if (list.readError) {
        ShowPlain(ui_, msg::kE206);
        return false;
    }
    if (list.tooMany) {
        ShowPlain(ui_, msg::kE233);
        return false;
    }
    const std::size_t count = bookingCount > 0 ? static_cast<std::size_t>(bookingCount) : 0;
    const ReplaceOutcome result =
        ApplyReplaceEntries(std::span<BookingRecord>(bookings.data(), count), list.entries);
    switch (result.stop) {
        case ReplaceOutcome::Stop::SollZero:
            ShowPlain(ui_, Format(msg::kE207, result.qbAccount));
            return false;
        case ReplaceOutcome::Stop::HabenZero:
            ShowPlain(ui_, Format(msg::kE208, result.qbAccount));
            return false;
        case ReplaceOutcome::Stop::None:
            break;
    }
    ShowInfo(ui_, Format(msg::kReplaceSummary, result.sollCount, result.habenCount));
    return true;
}

}  // namespace belvaron
