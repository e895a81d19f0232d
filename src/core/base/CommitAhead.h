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
// Only the writer's thread calls Reached and AwaitCommitted; the destructor
// stops the thread after the step it is in (committed pages stay).
class CommitAhead {
public:
    static constexpr std::size_t kStepBytes = std::size_t{2} << 20;  // one huge page
    static constexpr std::size_t kLeadBytes = std::size_t{4} << 20;

    CommitAhead(void* memory, std::size_t bytes);
    ~CommitAhead();
    CommitAhead(const CommitAhead&) = delete;
    CommitAhead& operator=(const CommitAhead&) = delete;

    // The writer will write up to `offset` bytes from the start. Cheap
    // enough to call for every record: the thread hears of it only once per
    // kStepBytes.
    void Reached(std::size_t offset) {
        if (offset >= nextReport_) Report(offset);
    }
    // Waits until the thread has committed what the reports so far ask for.
    void AwaitCommitted();

private:
    void Report(std::size_t offset);
    void Run();

    char* const memory_;
    const std::size_t size_;
    std::size_t nextReport_ = kLeadBytes;  // the writer's: the next offset worth a report

    std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t target_ = 0;     // commit up to here
    std::size_t committed_ = 0;  // committed up to here
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace belvaron
