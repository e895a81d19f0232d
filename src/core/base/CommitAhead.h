#pragma once

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <thread>

namespace belvaron {

// Commits the pages of a reservation (ReservedMemory) on a thread of its
// own, a little ahead of one writer that fills it from its start, so that
// the writer's first touches take no page faults: a fresh page can cost the
// writer several microseconds (the system zeroes it, and a virtual machine's
// host may back it only then).
//
// The thread starts once the writer has passed kLeadBytes: a smaller fill
// is left to the page faults, and commits nothing it does not use. Beyond
// that the committed part stays within the reservation and ends at most
// kLeadBytes past the largest offset reported, rounded up to kStepBytes.
// Where the system cannot commit ahead (platform::CommitMemory), the thread
// does nothing and the writer faults its pages in as before.
//
// Only the writer's thread calls Reached, WillReach and AwaitCommitted
// (which waits until every page asked for is committed or left to the
// writer); the destructor stops the thread after the step it is in
// (committed pages stay). Destroy it before the reservation.
class CommitAhead {
public:
    static constexpr std::size_t kStepBytes = std::size_t{2} << 20;  // one huge page
    static constexpr std::size_t kLeadBytes = std::size_t{4} << 20;

    CommitAhead(void* memory, std::size_t bytes);
    ~CommitAhead();
    CommitAhead(const CommitAhead&) = delete;
    CommitAhead& operator=(const CommitAhead&) = delete;

    // The writer writes at `offset` bytes from the start now. Cheap enough
    // to call for every record: the thread hears of it only once per
    // kStepBytes. A thread that has fallen behind the writer leaves the
    // writer's step to it and goes on past it, so that both fault pages at
    // once rather than the same ones.
    void Reached(std::size_t offset) {
        if (offset >= nextPlace_) Report(offset, true);
    }
    // The writer will come up to `offset` later: pages up to there are
    // committed meanwhile, however far behind them the writer is.
    void WillReach(std::size_t offset) {
        if (offset >= nextReport_) Report(offset, false);
    }
    // Waits until the thread has committed what the reports so far ask for.
    void AwaitCommitted();

private:
    void Report(std::size_t offset, bool writerThere);
    void Run();

    char* const memory_;
    const std::size_t size_;
    // The writer's: the next offsets worth a report of each kind.
    std::size_t nextPlace_ = kLeadBytes;
    std::size_t nextReport_ = kLeadBytes;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t target_ = 0;     // commit up to here
    std::size_t committed_ = 0;  // committed up to here, or left to the writer
    std::size_t writerAt_ = 0;   // the writer's last reported place
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace belvaron
