#include "core/vat/VatCandidateIndex.h"

#include <algorithm>
#include <utility>

namespace belvaron {

VatCandidateIndex::VatCandidateIndex(const BookingStore& store, int32_t vatAccount)
    : store_(store) {
    std::vector<std::pair<int32_t, int32_t>> pairs;  // (booking number, store index)
    for (int32_t i = 0; i < store.bookingCount; ++i) {
        const BookingRecord& b = store[i];
        if (b.sollAccount == vatAccount || b.habenAccount == vatAccount)
            pairs.emplace_back(b.bookingNo, i);
    }
    std::sort(pairs.begin(), pairs.end());
    candidates_.reserve(pairs.size());
    for (std::size_t k = 0; k < pairs.size(); ++k) {
        const auto position = static_cast<int32_t>(k);
        if (k == 0 || pairs[k].first != pairs[k - 1].first) {
            groups_.push_back({pairs[k].first, position, position, pairs[k].second});
        }
        candidates_.push_back(pairs[k].second);
        groups_.back().end = position + 1;
        groups_.back().last = pairs[k].second;
    }
}

int VatCandidateIndex::Find(int32_t bookingNo) const {
    const auto it = std::lower_bound(groups_.begin(), groups_.end(), bookingNo,
                                     [](const Group& g, int32_t no) { return g.bookingNo < no; });
    if (it == groups_.end() || it->bookingNo != bookingNo) return -1;
    return static_cast<int>(it - groups_.begin());
}

int32_t VatCandidateIndex::Take(int group) {
    Group& g = groups_[static_cast<std::size_t>(group)];
    while (g.next < g.end) {
        const int32_t index = candidates_[static_cast<std::size_t>(g.next)];
        if (store_[index].redated == 0) return index;
        ++g.next;
    }
    return -1;
}

}  // namespace belvaron
