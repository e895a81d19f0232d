#pragma once

#include <cstdint>
#include <vector>

#include "core/bookings/BookingStore.h"

namespace belvaron {

// The bookings that a VAT row of the given account can re-date: those whose
// SOLL or HABEN account is that account, grouped by booking number, each
// group in store order. Built once per re-dating run, so that a row finds
// its candidates without scanning the store.
//
// For one booking number the answer equals a scan of the whole store in
// store order: Take() gives the first candidate whose `redated` is 0, and
// when there is none, Last() is the last candidate in store order, which
// then has `redated` set. Copies appended to the store during the run are
// registered with Appended() and are then the group's last candidate.
class VatCandidateIndex {
public:
    VatCandidateIndex(const BookingStore& store, int32_t vatAccount);

    // The group of a booking number, -1 when no booking of that number is a
    // candidate.
    int Find(int32_t bookingNo) const;
    // The index of the first candidate of the group whose `redated` is 0, or
    // -1 when every candidate has it set. Candidates before the result are
    // never looked at again, so a run costs one pass over each group.
    int32_t Take(int group);
    // The last candidate of the group in store order.
    int32_t Last(int group) const { return groups_[static_cast<std::size_t>(group)].last; }
    // A copy of a candidate was appended at store index `index`.
    void Appended(int group, int32_t index) {
        groups_[static_cast<std::size_t>(group)].last = index;
    }

private:
    struct Group {
        int32_t bookingNo;
        int32_t next;  // first entry of candidates_ not yet passed over
        int32_t end;   // one past the group's last entry
        int32_t last;  // the group's last candidate in store order
    };

    const BookingStore& store_;
    std::vector<int32_t> candidates_;  // store indices, grouped, ascending within a group
    std::vector<Group> groups_;        // ascending by booking number
};

}  // namespace belvaron
