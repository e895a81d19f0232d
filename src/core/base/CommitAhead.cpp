#include "core/base/CommitAhead.h"

#include <algorithm>
#include <cstdint>
#include <system_error>

#include "core/platform/System.h"

namespace belvaron {

CommitAhead::CommitAhead(void* memory, std::size_t bytes)
    : memory_(static_cast<char*>(memory)), size_(memory ? bytes : 0) {}

CommitAhead::~CommitAhead() {
    if (!thread_.joinable()) return;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

namespace {

std::size_t StepEnd(std::size_t offset) {
    return offset / CommitAhead::kStepBytes * CommitAhead::kStepBytes + CommitAhead::kStepBytes;
}

}  // namespace

void CommitAhead::Report(std::size_t offset, bool writerThere) {
    offset = std::min(offset, size_);
    (writerThere ? nextPlace_ : nextReport_) = StepEnd(offset);
    const std::size_t target = std::min(size_, StepEnd(offset + kLeadBytes - 1));
    {
        std::lock_guard lock(mutex_);
        if (writerThere) writerAt_ = offset;
        if (target <= target_) return;
        if (!thread_.joinable()) {
            // What lies before the writer's step is in use already.
            committed_ = writerAt_ / kStepBytes * kStepBytes;
            try {
                thread_ = std::thread([this] { Run(); });
            } catch (const std::system_error&) {
                // No thread to be had: the writer faults its pages in itself.
                nextPlace_ = nextReport_ = SIZE_MAX;
                return;
            }
        }
        target_ = target;
    }
    changed_.notify_all();
}

void CommitAhead::AwaitCommitted() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return committed_ >= target_; });
}

// Commits one step at a time, so that a stop waits for one step at most.
void CommitAhead::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || committed_ < target_; });
        if (stopping_) return;
        const std::size_t from =
            committed_ < writerAt_ ? std::min(target_, StepEnd(writerAt_)) : committed_;
        const std::size_t to = std::min(target_, StepEnd(from));
        lock.unlock();
        if (to > from) platform::CommitMemory(memory_ + from, to - from);
        lock.lock();
        committed_ = to;
        if (committed_ >= target_) changed_.notify_all();
    }
}

}  // namespace belvaron
