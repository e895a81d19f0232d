#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/base/CommitAhead.h"
#include "core/base/ReservedMemory.h"

namespace belvaron {

class BookingStore;

// The fields of one booking of a journal load as the import has them; each
// text is cut to its field's width when the booking is stored.
struct StagedBooking {
    int32_t bookingNo = 0;
    std::string_view date;  // normalised, as the store keeps it
    std::string_view beleg;
    std::string_view name;
    std::string_view purpose;
    int32_t soll = 0;
    int32_t haben = 0;
    int32_t vat = 0;
    std::string_view amount;
};

// The bookings of one journal load, gathered by their sort key until the
// load ends, then written into the store in the order SortByDate gives:
// by key, equal keys in the order added. The sort after the load then finds
// nothing to move, and the store is written once, front to back, instead of
// being filled in file order and then permuted at random, which costs a
// large store a cache miss per record.
//
// Each key has a list of 4 KiB chunks that hold its bookings packed (the
// numbers, then each text's length and bytes), so that the chunks take a
// third of the store's room and are read back in runs. At most kMaxKeys keys
// get lists of their own; the bookings of any further key go to one more
// list, in the order added, which is written after the ordered ones: every
// key's bookings still stand in the order added, so the stable sort after
// the load puts them in place.
class JournalStaging {
public:
    static constexpr std::size_t kChunkBytes = 4096;
    static constexpr int kMaxKeys = 4096;
    // From this many bookings on, MoveInto writes on two threads.
    static constexpr std::size_t kTwoThreadBookings = 65536;

    // Room for as many bookings as `store` holds, which MoveInto fills. The
    // store's pages are committed meanwhile on a thread of their own, as far
    // as the bookings added will fill them.
    explicit JournalStaging(BookingStore& store);
    JournalStaging(const JournalStaging&) = delete;
    JournalStaging& operator=(const JournalStaging&) = delete;

    bool ok() const { return memory_.ok(); }
    std::size_t count() const { return count_; }

    // Adds a booking under `key` (DateKey of its stored date); false when as
    // many bookings as the store holds are staged already.
    bool Add(int32_t key, const StagedBooking& booking);

    // Writes the staged bookings into store[0 .. count()-1] (every byte of
    // each record: the texts cut to their fields and zero-filled, `currency`
    // as the currency, DATEV key and re-dating 0), sets store.bookingCount to
    // count() and empties the staging.
    void MoveInto(std::string_view currency);

private:
    static constexpr uint32_t kNoChunk = UINT32_MAX;
    struct Bucket {
        int32_t key = 0;
        uint32_t head = kNoChunk;  // first and last chunk
        uint32_t tail = kNoChunk;
        uint32_t used = 0;  // bytes of the last chunk, written to its header when it is full
        int32_t count = 0;  // bookings, 0 for a free place of the table
    };

    Bucket& BucketOf(int32_t key);
    // A new last chunk for `bucket`; null when the reservation is used up.
    char* NewChunk(Bucket& bucket);
    char* Chunk(uint32_t index) const {
        return static_cast<char*>(memory_.data()) + std::size_t{index} * kChunkBytes;
    }
    // The bookings of the buckets in `order` into the store from its start.
    void MoveBuckets(const std::vector<const Bucket*>& order, std::string_view currency);
    // The bookings of one bucket into the store from `at`; the next place.
    // With `report`, storeAhead_ hears where it writes.
    int32_t MoveBucket(const Bucket& bucket, int32_t at, std::string_view currency, bool report);

    BookingStore& store_;
    const std::size_t capacity_;
    std::size_t count_ = 0;
    ReservedMemory memory_;
    const uint32_t maxChunks_;
    uint32_t chunkCount_ = 0;
    CommitAhead ahead_;       // the chunks' pages, a little ahead of the last one
    CommitAhead storeAhead_;  // the store's
    // The keyed buckets in the places of their keys' hashes (open
    // addressing; a quarter of the places used at most), so that finding a
    // key touches one place; and the bucket of the rest.
    std::vector<Bucket> table_;
    int keyCount_ = 0;
    Bucket rest_;
    Bucket* last_ = nullptr;  // the bucket of the last key added
    int32_t lastKey_ = 0;
};

}  // namespace belvaron
