// Measures the REPLACE application on 1,000,000 bookings with 1000 entries
// (run by hand: build/bin/bench_replace). Not a test: prints times only.
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

#include "core/mapping/ReplaceList.h"

namespace {

using belvaron::BookingRecord;
using belvaron::ReplaceEntry;

void Measure(const char* name, std::vector<BookingRecord> bookings,
             const std::vector<ReplaceEntry>& entries) {
    const auto start = std::chrono::steady_clock::now();
    const auto out = belvaron::ApplyReplaceEntries(bookings, entries);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("%-44s %8d SOLL %8d HABEN  %.3f s\n", name, out.sollCount, out.habenCount,
                took.count());
}

int32_t Draw(std::mt19937& random, int32_t from, int32_t count) {
    return from + static_cast<int32_t>(random() % static_cast<uint32_t>(count));
}

}  // namespace

int main() {
    std::mt19937 random(7);
    std::vector<ReplaceEntry> entries(1000);
    for (ReplaceEntry& e : entries) {
        const bool chain = random() % 20 == 0;
        e = {Draw(random, 1000, 5000),
             random() % 4 == 0 ? 19 : 0,
             chain ? Draw(random, 1000, 5000) : Draw(random, 10000, 5000),
             chain ? Draw(random, 1000, 5000) : Draw(random, 10000, 5000),
             random() % 5 == 0 ? 40 : 0,
             random() % 10 == 0 ? Draw(random, 1000, 5000) : 0};
    }
    for (int accounts : {50, 300, 1000}) {
        std::vector<BookingRecord> bookings(1'000'000, BookingRecord{});
        for (BookingRecord& b : bookings) {
            b.sollAccount = entries[random() % static_cast<unsigned>(accounts)].qbAccount;
            b.habenAccount = entries[random() % static_cast<unsigned>(accounts)].qbAccount;
            b.vatRate = random() % 2 ? 19 : 7;
        }
        char name[64];
        std::snprintf(name, sizeof name, "list accounts, %d of them used", accounts);
        Measure(name, bookings, entries);
    }

    // Every replacement lands on another listed account: long chains.
    for (ReplaceEntry& e : entries) {
        e = {Draw(random, 1000, 600),    random() % 4 == 0 ? 19 : 0,
             Draw(random, 1000, 900),    Draw(random, 1000, 900),
             random() % 5 == 0 ? 40 : 0, random() % 6 == 0 ? Draw(random, 1000, 600) : 0};
    }
    std::vector<BookingRecord> bookings(1'000'000, BookingRecord{});
    for (BookingRecord& b : bookings) {
        b.sollAccount = Draw(random, 1000, 700);
        b.habenAccount = Draw(random, 1000, 700);
        b.vatRate = random() % 2 ? 19 : 7;
    }
    Measure("chains through 600 accounts", bookings, entries);

    // 1000 entries for one account, none of whose preconditions is met.
    for (int i = 0; i < 1000; ++i)
        entries[static_cast<std::size_t>(i)] = {1200, 0, 1300, 1300, 0, 5000 + i};
    for (BookingRecord& b : bookings) b.sollAccount = b.habenAccount = 1200;
    Measure("1000 entries for one account", bookings, entries);
    return 0;
}
