#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <vector>

#include "core/base/CommitAhead.h"
#include "core/base/ReservedMemory.h"

#ifdef __linux__
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace belvaron {
namespace {

constexpr std::size_t kMiB = std::size_t{1} << 20;

unsigned char PatternByte(std::size_t i) {
    return static_cast<unsigned char>((i * 131 + i / 4096) | 1);
}

// Writes the pattern into [from, to) as a writer would, reporting each 64 KiB.
void Write(CommitAhead& ahead, ReservedMemory& memory, std::size_t from, std::size_t to) {
    auto* bytes = static_cast<unsigned char*>(memory.data());
    for (std::size_t i = from; i < to; ++i) {
        if (i % 65536 == 0) ahead.Reached(i + 65536);
        bytes[i] = PatternByte(i);
    }
}

// Whether each page of the reservation is committed, where the system tells
// (Linux); empty elsewhere or when committing ahead is not offered.
std::vector<bool> CommittedPages(const ReservedMemory& memory) {
#ifdef __linux__
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    // A kernel without the advice commits nothing ahead: nothing to look at.
    void* probe = mmap(nullptr, page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    const bool offered = probe != MAP_FAILED && madvise(probe, page, 23 /* POPULATE_WRITE */) == 0;
    if (probe != MAP_FAILED) munmap(probe, page);
    if (!offered) return {};
    std::vector<unsigned char> resident((memory.size() + page - 1) / page);
    if (mincore(memory.data(), memory.size(), resident.data()) != 0) return {};
    std::vector<bool> pages;
    for (const unsigned char r : resident) pages.push_back((r & 1) != 0);
    return pages;
#else
    (void)memory;
    return {};
#endif
}

// A fill below the lead commits nothing ahead of the writer: no thread, no
// page beyond those written (and the huge page that holds them).
TEST(CommitAhead, SmallFillCommitsNothingAhead) {
    ReservedMemory memory(64 * kMiB);
    ASSERT_TRUE(memory.ok());
    {
        CommitAhead ahead(memory.data(), memory.size());
        Write(ahead, memory, 0, kMiB);
        ahead.AwaitCommitted();
        const std::vector<bool> pages = CommittedPages(memory);
        if (!pages.empty()) {
            const std::size_t page = memory.size() / pages.size();
            for (std::size_t p = 2 * kMiB / page; p < pages.size(); ++p)
                ASSERT_FALSE(pages[p]) << p;
        }
    }
    const auto* bytes = static_cast<const unsigned char*>(memory.data());
    for (std::size_t i = 0; i < kMiB; ++i) ASSERT_EQ(bytes[i], PatternByte(i)) << i;
}

// A report beyond the end of a small reservation commits it up to its end
// and no further; what was written stays, the rest reads as zero.
TEST(CommitAhead, ReportBeyondTheEndIsHeldToIt) {
    ReservedMemory memory(10'000);
    ASSERT_TRUE(memory.ok());
    CommitAhead ahead(memory.data(), memory.size());
    Write(ahead, memory, 0, 6'000);
    ahead.Reached(50 * kMiB);
    ahead.AwaitCommitted();
    const auto* bytes = static_cast<const unsigned char*>(memory.data());
    for (std::size_t i = 0; i < memory.size(); ++i) {
        ASSERT_EQ(bytes[i], i < 6'000 ? PatternByte(i) : 0) << i;
    }
    for (const bool committed : CommittedPages(memory)) EXPECT_TRUE(committed);
}

// Past the lead, a large reservation is committed ahead of the writer and
// no further: the bytes written stay, the rest reads as zero, and the pages
// far beyond the writer stay uncommitted.
TEST(CommitAhead, LargeFillIsCommittedALeadAheadOfTheWriter) {
    ReservedMemory memory(64 * kMiB);
    ASSERT_TRUE(memory.ok());
    const std::size_t written = 9 * kMiB + 123;
    {
        CommitAhead ahead(memory.data(), memory.size());
        Write(ahead, memory, 0, written);
        ahead.AwaitCommitted();
        const std::vector<bool> pages = CommittedPages(memory);
        if (!pages.empty()) {
            const std::size_t page = memory.size() / pages.size();
            // The thread hears of the writer at 4 MiB and then at each 2 MiB
            // step: the last report, at 8 MiB, asks for 4 MiB more, of which
            // the step past the writer's is the thread's in any case. A huge
            // page of the system may reach up to 2 MiB beyond that.
            for (std::size_t p = 10 * kMiB / page; p < 12 * kMiB / page; ++p) {
                ASSERT_TRUE(pages[p]) << p;
            }
            for (std::size_t p = 14 * kMiB / page; p < pages.size(); ++p) {
                ASSERT_FALSE(pages[p]) << p;
            }
        }
    }
    const auto* bytes = static_cast<const unsigned char*>(memory.data());
    for (std::size_t i = 0; i < written; ++i) ASSERT_EQ(bytes[i], PatternByte(i)) << i;
    for (std::size_t i = written; i < 14 * kMiB; i += 777) ASSERT_EQ(bytes[i], 0) << i;
}

// A writer that comes later has every page up to where it will write
// committed meanwhile, from the start, and no page far beyond.
TEST(CommitAhead, PagesAreCommittedAheadOfAWriterThatComesLater) {
    ReservedMemory memory(64 * kMiB);
    ASSERT_TRUE(memory.ok());
    CommitAhead ahead(memory.data(), memory.size());
    ahead.WillReach(20 * kMiB);
    ahead.AwaitCommitted();
    const std::vector<bool> pages = CommittedPages(memory);
    if (pages.empty()) return;
    const std::size_t page = memory.size() / pages.size();
    for (std::size_t p = 0; p < 24 * kMiB / page; ++p) ASSERT_TRUE(pages[p]) << p;
    for (std::size_t p = 26 * kMiB / page; p < pages.size(); ++p) ASSERT_FALSE(pages[p]) << p;
}

}  // namespace
}  // namespace belvaron
