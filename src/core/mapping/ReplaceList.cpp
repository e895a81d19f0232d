#include "core/mapping/ReplaceList.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <memory>
#include <numeric>

#include "core/base/Format.h"
#include "core/base/TextInput.h"
#include "core/base/TracePoint.h"
#include "core/bookings/BookingStore.h"
#include "core/mapping/MappingMessages.h"

namespace belvaron {

namespace {

uint64_t Mix(uint64_t h) {
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    return h;
}

// The entry indices of each qbAccount, ascending, in one flat table, found
// through a small open-addressing table of the accounts.
class EntryIndex {
public:
    explicit EntryIndex(std::span<const ReplaceEntry> entries) : indices_(entries.size()) {
        std::iota(indices_.begin(), indices_.end(), 0);
        std::stable_sort(indices_.begin(), indices_.end(), [&](int a, int b) {
            return entries[static_cast<std::size_t>(a)].qbAccount <
                   entries[static_cast<std::size_t>(b)].qbAccount;
        });
        std::size_t size = 16;
        while (size < 2 * entries.size()) size *= 2;
        slots_.resize(size);
        mask_ = size - 1;
        for (std::size_t i = 0; i < indices_.size();) {
            const int32_t account = entries[static_cast<std::size_t>(indices_[i])].qbAccount;
            std::size_t end = i + 1;
            while (end < indices_.size() &&
                   entries[static_cast<std::size_t>(indices_[end])].qbAccount == account) {
                ++end;
            }
            Slot& slot = slots_[Find(account)];
            slot = {account, static_cast<uint32_t>(i), static_cast<uint32_t>(end), true};
            i = end;
        }
    }

    // The indices of the entries for `account`, in file order.
    std::span<const int> For(int32_t account) const {
        const Slot& slot = slots_[Find(account)];
        if (!slot.used) return {};
        return std::span<const int>(indices_).subspan(slot.begin, slot.end - slot.begin);
    }

private:
    struct Slot {
        int32_t account = 0;
        uint32_t begin = 0;
        uint32_t end = 0;
        bool used = false;
    };

    // The slot of `account`, or the free slot where it would go.
    std::size_t Find(int32_t account) const {
        std::size_t i = Mix(static_cast<uint32_t>(account)) & mask_;
        while (slots_[i].used && slots_[i].account != account) i = (i + 1) & mask_;
        return i;
    }

    std::vector<int> indices_;
    std::vector<Slot> slots_;
    std::size_t mask_ = 0;
};

constexpr int kNone = std::numeric_limits<int>::max();

// A position in the ascending entry indices of one account.
class Cursor {
public:
    // The indices of `account` after `current`.
    void Reset(const EntryIndex& index, int32_t account, int current) {
        list_ = index.For(account);
        pos_ = static_cast<std::size_t>(std::upper_bound(list_.begin(), list_.end(), current) -
                                        list_.begin());
    }
    // The first index after `current`; the cursor only moves forward.
    int NextAfter(int current) {
        while (pos_ < list_.size() && list_[pos_] <= current) ++pos_;
        return pos_ < list_.size() ? list_[pos_] : kNone;
    }

private:
    std::span<const int> list_;
    std::size_t pos_ = 0;
};

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
                    BookingRecord& b, bool& keySet, ReplaceOutcome& out) {
    keySet = false;
    Cursor sollCursor;
    Cursor habenCursor;
    sollCursor.Reset(index, b.sollAccount, -1);
    habenCursor.Reset(index, b.habenAccount, -1);
    int current = -1;
    for (;;) {
        const int next = std::min(sollCursor.NextAfter(current), habenCursor.NextAfter(current));
        if (next == kNone) return true;
        TracePoint = 2034;
        const int32_t soll = b.sollAccount;
        const int32_t haben = b.habenAccount;
        if (!ApplyEntry(entries[static_cast<std::size_t>(next)], b, keySet, out)) return false;
        current = next;
        if (b.sollAccount != soll) sollCursor.Reset(index, b.sollAccount, current);
        if (b.habenAccount != haben) habenCursor.Reset(index, b.habenAccount, current);
    }
}

// What the list does to a booking depends only on its SOLL and HABEN
// account and its rate, so the result of one walk serves every booking with
// the same three values. Every result is remembered: the results sit in one
// array in the order found, and an open-addressing table of their indices,
// kept at most half full, finds them; it doubles as results are added, so a
// journal with as many distinct account pairs as bookings walks each pair
// once. The memory is bounded by the number of bookings.
class RememberedResults {
public:
    struct Result {
        int32_t soll = 0;
        int32_t haben = 0;
        int32_t datevKey = 0;
        bool keySet = false;
        int sollCount = 0;
        int habenCount = 0;
    };

    RememberedResults() : slots_(kInitialSize, kEmpty) {}

    const Result* Find(int32_t soll, int32_t haben, int32_t vat) const {
        const uint32_t at = slots_[SlotOf(soll, haben, vat)];
        return at == kEmpty ? nullptr : &entries_[at].result;
    }
    // Call only for values Find did not find.
    void Remember(int32_t soll, int32_t haben, int32_t vat, const Result& result) {
        if (2 * (entries_.size() + 1) > slots_.size()) Grow();
        slots_[SlotOf(soll, haben, vat)] = static_cast<uint32_t>(entries_.size());
        entries_.push_back({soll, haben, vat, result});
    }

private:
    static constexpr std::size_t kInitialSize = 1024;
    static constexpr uint32_t kEmpty = std::numeric_limits<uint32_t>::max();

    struct Entry {
        int32_t soll;
        int32_t haben;
        int32_t vat;
        Result result;
    };

    static uint64_t Hash(int32_t soll, int32_t haben, int32_t vat) {
        return Mix((uint64_t{static_cast<uint32_t>(soll)} << 32 | static_cast<uint32_t>(haben)) ^
                   Mix(static_cast<uint32_t>(vat) + 1));
    }

    // The slot holding these values, or the free slot where they would go.
    std::size_t SlotOf(int32_t soll, int32_t haben, int32_t vat) const {
        const std::size_t mask = slots_.size() - 1;
        std::size_t i = Hash(soll, haben, vat) & mask;
        for (;;) {
            const uint32_t at = slots_[i];
            if (at == kEmpty) return i;
            const Entry& e = entries_[at];
            if (e.soll == soll && e.haben == haben && e.vat == vat) return i;
            i = (i + 1) & mask;
        }
    }

    void Grow() {
        slots_.assign(slots_.size() * 2, kEmpty);
        const std::size_t mask = slots_.size() - 1;
        for (std::size_t at = 0; at < entries_.size(); ++at) {
            const Entry& e = entries_[at];
            std::size_t i = Hash(e.soll, e.haben, e.vat) & mask;
            while (slots_[i] != kEmpty) i = (i + 1) & mask;
            slots_[i] = static_cast<uint32_t>(at);
        }
    }

    std::vector<uint32_t> slots_;
    std::vector<Entry> entries_;
};

// What the list does to one side of a booking on its own: the walk of that
// side's account through the entries in file order. It holds for the booking
// when both sides are `independent`: no entry on the way had a precondition
// (which looks at the other side) or a zero replacement (which stops the run
// part way); the booking then takes the last key above 0 of either side, or,
// when there is none, the key of the first entry applied to either side.
struct SideResult {
    int32_t account = 0;
    int count = 0;
    int firstIndex = -1;  // of the first entry applied
    int32_t firstKey = 0;
    int lastKeyIndex = -1;  // of the last entry applied with a key above 0
    int32_t lastKey = 0;
    bool applied = false;
    bool independent = true;
};

SideResult WalkSide(const EntryIndex& index, std::span<const ReplaceEntry> entries, int32_t account,
                    int32_t vat, bool soll) {
    SideResult r;
    r.account = account;
    Cursor cursor;
    cursor.Reset(index, account, -1);
    for (int current = -1;;) {
        const int next = cursor.NextAfter(current);
        if (next == kNone) return r;
        current = next;
        const ReplaceEntry& e = entries[static_cast<std::size_t>(next)];
        if (e.vatRate != 0 && e.vatRate != vat) continue;
        const int32_t replacement = soll ? e.sollAccount : e.habenAccount;
        if (e.preconditionAccount != 0 || replacement == 0) {
            r.independent = false;
            return r;
        }
        r.account = replacement;
        ++r.count;
        if (!r.applied) {
            r.firstIndex = next;
            r.firstKey = e.datevKey;
        }
        r.applied = true;
        if (e.datevKey > 0) {
            r.lastKeyIndex = next;
            r.lastKey = e.datevKey;
        }
        cursor.Reset(index, replacement, current);
    }
}

// The results of one side met so far, by account and rate, in an
// open-addressing table kept at most half full.
class SideResults {
public:
    SideResults(const EntryIndex& index, std::span<const ReplaceEntry> entries, bool soll)
        : index_(index), entries_(entries), soll_(soll), slots_(kInitialSize, kEmpty) {}

    // A copy: a later call may move the results.
    SideResult For(int32_t account, int32_t vat) {
        const uint64_t key =
            uint64_t{static_cast<uint32_t>(account)} << 32 | static_cast<uint32_t>(vat);
        std::size_t i = Slot(key);
        if (slots_[i] == kEmpty) {
            if (2 * (results_.size() + 1) > slots_.size()) {
                Grow();
                i = Slot(key);
            }
            slots_[i] = static_cast<uint32_t>(results_.size());
            results_.push_back({key, WalkSide(index_, entries_, account, vat, soll_)});
        }
        return results_[slots_[i]].second;
    }

private:
    static constexpr std::size_t kInitialSize = 256;
    static constexpr uint32_t kEmpty = std::numeric_limits<uint32_t>::max();

    std::size_t Slot(uint64_t key) const {
        const std::size_t mask = slots_.size() - 1;
        std::size_t i = Mix(key) & mask;
        while (slots_[i] != kEmpty && results_[slots_[i]].first != key) i = (i + 1) & mask;
        return i;
    }
    void Grow() {
        slots_.assign(slots_.size() * 2, kEmpty);
        for (std::size_t at = 0; at < results_.size(); ++at)
            slots_[Slot(results_[at].first)] = static_cast<uint32_t>(at);
    }

    const EntryIndex& index_;
    std::span<const ReplaceEntry> entries_;
    bool soll_;
    std::vector<uint32_t> slots_;
    std::vector<std::pair<uint64_t, SideResult>> results_;
};

// Applies both side results to the booking and counts them.
void ApplySides(const SideResult& soll, const SideResult& haben, BookingRecord& b,
                ReplaceOutcome& out) {
    b.sollAccount = soll.account;
    b.habenAccount = haben.account;
    out.sollCount += soll.count;
    out.habenCount += haben.count;
    if (!soll.applied && !haben.applied) return;
    const SideResult& last = soll.lastKeyIndex > haben.lastKeyIndex ? soll : haben;
    if (last.lastKeyIndex >= 0) {
        b.datevKey = last.lastKey;
        return;
    }
    // No key above 0: the first entry applied set the key (0 or below).
    const bool sollFirst = soll.applied && (!haben.applied || soll.firstIndex <= haben.firstIndex);
    b.datevKey = sollFirst ? soll.firstKey : haben.firstKey;
}

// What a replacement may change of a booking, kept so that a cancelled run
// can put it back.
struct ReplacedFields {
    int32_t soll;
    int32_t haben;
    int32_t datevKey;
};

// Puts the first `count` bookings back to `saved` (which holds at least as
// many) and reports a cancelled run.
ReplaceOutcome Undo(std::span<BookingRecord> bookings, const std::vector<ReplacedFields>& saved,
                    std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        bookings[i].sollAccount = saved[i].soll;
        bookings[i].habenAccount = saved[i].haben;
        bookings[i].datevKey = saved[i].datevKey;
    }
    ReplaceOutcome out;
    out.cancelled = true;
    return out;
}

}  // namespace

ReplaceOutcome ApplyReplaceEntries(std::span<BookingRecord> bookings,
                                   std::span<const ReplaceEntry> entries,
                                   const Progress* progress) {
    TracePoint = 2033;
    ReplaceOutcome out;
    const EntryIndex index(entries);
    const auto remembered = std::make_unique<RememberedResults>();
    SideResults sollSides(index, entries, true);
    SideResults habenSides(index, entries, false);
    // Only a run that can be cancelled keeps what it changes.
    std::vector<ReplacedFields> saved;
    if (progress) saved.reserve(bookings.size());
    ProgressCount count(progress, static_cast<int64_t>(bookings.size()));
    for (BookingRecord& b : bookings) {
        if (progress) {
            if (!count.Step()) return Undo(bookings, saved, saved.size());
            saved.push_back({b.sollAccount, b.habenAccount, b.datevKey});
        }
        const int32_t soll = b.sollAccount;
        const int32_t haben = b.habenAccount;
        const int32_t vat = b.vatRate;
        const SideResult sollSide = sollSides.For(soll, vat);
        const SideResult habenSide = habenSides.For(haben, vat);
        if (sollSide.independent && habenSide.independent) {
            ApplySides(sollSide, habenSide, b, out);
            continue;
        }
        if (const RememberedResults::Result* r = remembered->Find(soll, haben, vat)) {
            b.sollAccount = r->soll;
            b.habenAccount = r->haben;
            if (r->keySet) b.datevKey = r->datevKey;
            out.sollCount += r->sollCount;
            out.habenCount += r->habenCount;
            continue;
        }
        const int sollBefore = out.sollCount;
        const int habenBefore = out.habenCount;
        bool keySet = false;
        if (!ApplyToBooking(index, entries, b, keySet, out)) break;
        remembered->Remember(soll, haben, vat,
                             {b.sollAccount, b.habenAccount, b.datevKey, keySet,
                              out.sollCount - sollBefore, out.habenCount - habenBefore});
    }
    return out;
}

ReplaceListOutcome ApplyReplaceList(BookingStore& store, const std::string& path,
                                    const Progress* progress) {
    TracePoint = 2029;
    ReplaceListOutcome outcome;
    ReplaceListText list;
    {
        TextInput file;
        if (!file.Open(path, kMaxReplaceListBytes)) {
            outcome.notices.Plain(msg::kE206);
            return outcome;
        }
        AddConversionNotice(outcome.notices, path, file.conversion());
        list = ReadReplaceList(file.file());
    }
    if (list.readError) {
        outcome.notices.Plain(msg::kE206);
        return outcome;
    }
    if (list.tooMany) {
        outcome.notices.Plain(msg::kE233);
        return outcome;
    }
    const std::size_t count =
        store.bookingCount > 0 ? static_cast<std::size_t>(store.bookingCount) : 0;
    const ReplaceOutcome result = ApplyReplaceEntries(
        std::span<BookingRecord>(store.bookings.data(), count), list.entries, progress);
    if (result.cancelled) {
        outcome.cancelled = true;
        return outcome;
    }
    switch (result.stop) {
        case ReplaceOutcome::Stop::SollZero:
            outcome.notices.Plain(Format(msg::kE207, result.qbAccount));
            return outcome;
        case ReplaceOutcome::Stop::HabenZero:
            outcome.notices.Plain(Format(msg::kE208, result.qbAccount));
            return outcome;
        case ReplaceOutcome::Stop::None:
            break;
    }
    outcome.complete = true;
    outcome.sollCount = result.sollCount;
    outcome.habenCount = result.habenCount;
    return outcome;
}

}  // namespace belvaron
