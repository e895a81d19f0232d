// Throughput of the journal load and the steps that follow it, on a
// generated journal of 1,000,000 bookings. Not a test: run it by hand
// (see README, "Performance").
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "JournalGenerator.h"
#include "core/base/UiPort.h"
#include "core/bookings/BookingOperations.h"
#include "core/bookings/BookingStore.h"
#include "core/bookings/JournalImport.h"
#include "core/datev/AccountCheck.h"
#include "core/lexware/LexwareExport.h"

namespace {

using namespace belvaron;

constexpr int kBookings = 1'000'000;

struct Journal {
    Journal() : path(bench::GenerateJournalFile({kBookings, false})) {}
    ~Journal() { std::filesystem::remove(path); }
    std::string path;
};

Journal& TheJournal() {
    static Journal journal;
    return journal;
}

BookingStore& TheStore() {
    static BookingStore store;
    return store;
}

// The journal load of the workflow, without its summary; true when loaded.
bool Load(BookingStore& store, const std::string& path) {
    static ImportGrid grid;
    return LoadJournal(store, grid, path, Currency::Euro).loaded;
}

void BM_LoadJournal(benchmark::State& state) {
    BookingStore& store = TheStore();
    const std::string& path = TheJournal().path;
    for (auto _ : state) {
        if (!Load(store, path)) state.SkipWithError("load failed");
    }
    state.counters["bookings"] = store.bookingCount;
    state.counters["MB/s"] =
        benchmark::Counter(static_cast<double>(std::filesystem::file_size(path)) / 1e6,
                           benchmark::Counter::kIsIterationInvariantRate);
}

// The records in random order: a load leaves them sorted by date already.
void Shuffle(BookingStore& store) {
    std::mt19937 random(1);
    for (int32_t i = store.bookingCount - 1; i > 0; --i) {
        std::swap(store[i], store[static_cast<int32_t>(random() % static_cast<uint32_t>(i + 1))]);
    }
}

void BM_SortByDate(benchmark::State& state) {
    BookingStore& store = TheStore();
    for (auto _ : state) {
        state.PauseTiming();
        Load(store, TheJournal().path);
        Shuffle(store);
        state.ResumeTiming();
        SortByDate(store);
    }
}

void BM_DeleteZeroAccountBookings(benchmark::State& state) {
    BookingStore& store = TheStore();
    for (auto _ : state) {
        state.PauseTiming();
        Load(store, TheJournal().path);
        state.ResumeTiming();
        DeleteZeroAccountBookings(store);
    }
    state.counters["left"] = store.bookingCount;
}

void BM_LoadSortDelete(benchmark::State& state) {
    BookingStore& store = TheStore();
    for (auto _ : state) {
        Load(store, TheJournal().path);
        SortByDate(store);
        DeleteZeroAccountBookings(store);
    }
}

void BM_ExportLexware(benchmark::State& state) {
    BookingStore& store = TheStore();
    Load(store, TheJournal().path);
    const std::string out = TheJournal().path + ".lexware";
    for (auto _ : state) ExportLexware(store, out);
    std::filesystem::remove(out);
}

// The account check's marking when every booking uses two accounts never
// seen before, all of them negative (the worst case for the list of
// negative accounts).
void BM_MarkDistinctNegativeAccounts(benchmark::State& state) {
    std::vector<BookingRecord> bookings(kBookings);
    for (int i = 0; i < kBookings; ++i) {
        std::memset(&bookings[i], 0, sizeof bookings[i]);
        bookings[i].sollAccount = -2 * i - 1;
        bookings[i].habenAccount = -2 * i - 2;
    }
    std::vector<int32_t> states(kAccountLimit, 0);
    for (auto _ : state) {
        const MarkResult result = MarkUsedAccounts(bookings, states);
        benchmark::DoNotOptimize(result.counts.notExisting);
    }
}

BENCHMARK(BM_LoadJournal)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SortByDate)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_DeleteZeroAccountBookings)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LoadSortDelete)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ExportLexware)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_MarkDistinctNegativeAccounts)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
