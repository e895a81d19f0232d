#include "core/bookings/JournalStaging.h"

#include <algorithm>
#include <cstring>

#include "core/base/ChunkedForm.h"
#include "core/bookings/BookingStore.h"

namespace belvaron {

namespace {

// A chunk: its header, then packed bookings up to `used` bytes.
struct ChunkHeader {
    uint32_t next;  // the bucket's next chunk, kNoChunk at its last
    uint32_t used;
};
constexpr std::size_t kChunkRoom = JournalStaging::kChunkBytes - sizeof(ChunkHeader);
constexpr std::size_t kLineBytes = 64;  // a cache line

// A packed booking: the four numbers, the five texts' lengths, their bytes.
constexpr std::size_t kNumbersBytes = 4 * sizeof(int32_t);
constexpr std::size_t kTextCount = 5;
constexpr std::size_t kMaxPackedBytes =
    kNumbersBytes + kTextCount + sizeof(BookingRecord::date) + sizeof(BookingRecord::beleg) +
    sizeof(BookingRecord::name) + sizeof(BookingRecord::purpose) + sizeof(BookingRecord::amount);

// Every chunk but a bucket's last is filled to more than kChunkRoom -
// kMaxPackedBytes, so this many chunks hold `capacity` bookings in up to
// kMaxKeys + 1 buckets.
uint32_t MaxChunks(std::size_t capacity) {
    const std::size_t full = capacity * kMaxPackedBytes / (kChunkRoom - kMaxPackedBytes) + 1;
    return static_cast<uint32_t>(full + JournalStaging::kMaxKeys + 1);
}

ChunkHeader& Header(char* chunk) { return *reinterpret_cast<ChunkHeader*>(chunk); }

// The length of `text` cut to a field of N bytes.
template <std::size_t N>
unsigned char CutTo(std::string_view text) {
    static_assert(N <= 255);
    return static_cast<unsigned char>(std::min(N, text.size()));
}

// Copies n <= 64 bytes by two fixed-size moves that overlap as needed: the
// texts are short, and a call or a string instruction per text would cost
// more than the copy.
void CopyShort(char* to, const char* from, std::size_t n) {
    auto two = [&](auto block) {
        constexpr std::size_t k = sizeof block;
        std::memcpy(&block, from, k);
        std::memcpy(to, &block, k);
        std::memcpy(&block, from + n - k, k);
        std::memcpy(to + n - k, &block, k);
    };
    struct Bytes32 {
        char bytes[32];
    };
    struct Bytes16 {
        char bytes[16];
    };
    if (n > 32) {
        two(Bytes32{});
    } else if (n >= 16) {
        two(Bytes16{});
    } else if (n >= 8) {
        two(uint64_t{});
    } else if (n >= 4) {
        two(uint32_t{});
    } else if (n > 0) {
        to[0] = from[0];
        to[n / 2] = from[n / 2];
        to[n - 1] = from[n - 1];
    }
}

char* PackText(char* at, std::size_t length, std::string_view text) {
    CopyShort(at, text.data(), length);
    return at + length;
}

// Reads one packed text (at most N bytes) into a zero-filled field.
template <std::size_t N>
const char* UnpackText(char (&field)[N], const char* at, std::size_t length) {
    CopyShort(field, at, length);
    return at + length;
}

// A record of zero bytes, copied rather than set so that the compiler clears
// a record with plain stores.
alignas(16) const BookingRecord kBlankRecord{};

constexpr int kSlotBits = 14;  // four places per keyed bucket
static_assert(std::size_t{1} << kSlotBits == 4 * JournalStaging::kMaxKeys);

// The first place of a key: the top bits of a multiplicative hash.
uint32_t Slot(int32_t key) {
    return (static_cast<uint32_t>(key) * 0x9E37'79B1u) >> (32 - kSlotBits);
}

}  // namespace

JournalStaging::JournalStaging(BookingStore& store)
    : store_(store),
      capacity_(store.bookings.capacity()),
      memory_(std::size_t{MaxChunks(capacity_)} * kChunkBytes),
      maxChunks_(memory_.ok() ? MaxChunks(capacity_) : 0),
      ahead_(memory_.data(), memory_.size()),
      storeAhead_(store.bookings.data(), capacity_ * sizeof(BookingRecord)),
      table_(std::size_t{1} << kSlotBits) {}

JournalStaging::Bucket& JournalStaging::BucketOf(int32_t key) {
    if (last_ && lastKey_ == key) return *last_;
    lastKey_ = key;
    for (uint32_t s = Slot(key);; s = (s + 1) & (table_.size() - 1)) {
        Bucket& place = table_[s];
        if (place.count > 0 && place.key == key) return *(last_ = &place);
        if (place.count == 0) {
            // A new key: a list of its own while there is room, else the
            // list of the rest.
            if (keyCount_ == kMaxKeys) return *(last_ = &rest_);
            ++keyCount_;
            place.key = key;
            return *(last_ = &place);
        }
    }
}

char* JournalStaging::NewChunk(Bucket& bucket) {
    if (chunkCount_ >= maxChunks_) return nullptr;
    const uint32_t index = chunkCount_++;
    ahead_.Reached(std::size_t{chunkCount_} * kChunkBytes);
    Header(Chunk(index)) = {kNoChunk, 0};
    if (bucket.tail != kNoChunk) {
        Header(Chunk(bucket.tail)) = {index, bucket.used};
    } else {
        bucket.head = index;
    }
    bucket.tail = index;
    bucket.used = 0;
    return Chunk(index);
}

bool JournalStaging::Add(int32_t key, const StagedBooking& b) {
    if (count_ >= capacity_ || !ok()) return false;
    const unsigned char lengths[kTextCount] = {CutTo<sizeof(BookingRecord::date)>(b.date),
                                               CutTo<sizeof(BookingRecord::beleg)>(b.beleg),
                                               CutTo<sizeof(BookingRecord::name)>(b.name),
                                               CutTo<sizeof(BookingRecord::purpose)>(b.purpose),
                                               CutTo<sizeof(BookingRecord::amount)>(b.amount)};
    const std::size_t size =
        kNumbersBytes + kTextCount + lengths[0] + lengths[1] + lengths[2] + lengths[3] + lengths[4];

    Bucket& bucket = BucketOf(key);
    char* chunk = bucket.tail != kNoChunk ? Chunk(bucket.tail) : nullptr;
    if (!chunk || bucket.used + size > kChunkRoom) chunk = NewChunk(bucket);
    if (!chunk) return false;
    char* at = chunk + sizeof(ChunkHeader) + bucket.used;
    bucket.used += static_cast<uint32_t>(size);

    const int32_t numbers[4] = {b.bookingNo, b.soll, b.haben, b.vat};
    std::memcpy(at, numbers, kNumbersBytes);
    std::memcpy(at + kNumbersBytes, lengths, kTextCount);
    at += kNumbersBytes + kTextCount;
    at = PackText(at, lengths[0], b.date);
    at = PackText(at, lengths[1], b.beleg);
    at = PackText(at, lengths[2], b.name);
    at = PackText(at, lengths[3], b.purpose);
    at = PackText(at, lengths[4], b.amount);
    // The key's next booking comes after hundreds of others when the dates
    // are mixed, and lands in memory not yet read: its line is asked for
    // now, so that the writes do not wait for it then.
    __builtin_prefetch(at + kLineBytes, 1);
    ++count_;
    ++bucket.count;
    storeAhead_.WillReach(count_ * sizeof(BookingRecord));
    return true;
}

int32_t JournalStaging::MoveBucket(const Bucket& bucket, int32_t at, std::string_view currency,
                                   bool report) {
    for (uint32_t c = bucket.head; c != kNoChunk; c = Header(Chunk(c)).next) {
        const char* p = Chunk(c) + sizeof(ChunkHeader);
        const char* const end = p + Header(Chunk(c)).used;
        while (p < end) {
            if (report) storeAhead_.Reached(static_cast<std::size_t>(at) * sizeof(BookingRecord));
            BookingRecord& r = store_[at++];
            std::memcpy(&r, &kBlankRecord, sizeof r);  // the padding too
            int32_t numbers[4];
            std::memcpy(numbers, p, kNumbersBytes);
            r.bookingNo = numbers[0];
            r.sollAccount = numbers[1];
            r.habenAccount = numbers[2];
            r.vatRate = numbers[3];
            const auto* lengths = reinterpret_cast<const unsigned char*>(p + kNumbersBytes);
            p += kNumbersBytes + kTextCount;
            p = UnpackText(r.date, p, lengths[0]);
            p = UnpackText(r.beleg, p, lengths[1]);
            p = UnpackText(r.name, p, lengths[2]);
            p = UnpackText(r.purpose, p, lengths[3]);
            p = UnpackText(r.amount, p, lengths[4]);
            CopyShort(r.currency, currency.data(), std::min(sizeof r.currency, currency.size()));
        }
    }
    return at;
}

void JournalStaging::MoveInto(std::string_view currency) {
    std::vector<const Bucket*> order;
    order.reserve(static_cast<std::size_t>(keyCount_) + 1);
    for (Bucket& bucket : table_) {
        if (bucket.count > 0) order.push_back(&bucket);
    }
    std::sort(order.begin(), order.end(),
              [](const Bucket* a, const Bucket* b) { return a->key < b->key; });
    if (rest_.count > 0) order.push_back(&rest_);
    for (const Bucket* bucket : order) Header(Chunk(bucket->tail)).used = bucket->used;
    MoveBuckets(order, currency);
    store_.bookingCount = static_cast<int32_t>(count_);

    count_ = 0;
    chunkCount_ = 0;
    std::fill(table_.begin(), table_.end(), Bucket{});
    keyCount_ = 0;
    rest_ = {};
    last_ = nullptr;
}

// A large store is written from both ends of the bucket order at once, on
// two threads, each part front to back: the move is bound by the memory,
// which two cores reach faster than one. Only this thread tells the commit
// thread where it writes.
void JournalStaging::MoveBuckets(const std::vector<const Bucket*>& order,
                                 std::string_view currency) {
    std::size_t split = order.size();
    int32_t upperAt = 0;
    if (count_ >= kTwoThreadBookings) {
        for (split = 0; split < order.size() && upperAt < static_cast<int32_t>(count_ / 2);) {
            upperAt += order[split++]->count;
        }
    }
    auto move = [&](std::size_t from, std::size_t to, int32_t at, bool report) {
        for (std::size_t i = from; i < to; ++i) at = MoveBucket(*order[i], at, currency, report);
    };
    if (split == order.size()) {
        move(0, split, 0, true);
        return;
    }
    // Without a second thread both parts run here, one after the other.
    RunSideBySide([&] { move(0, split, 0, true); },
                  [&] { move(split, order.size(), upperAt, false); });
}

}  // namespace belvaron
