#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace belvaron {

// Writes the bytes of one output on a thread of its own, in order, so that
// the caller forms the next bytes while the system takes the last ones.
// Bytes are gathered into blocks of kBlockBytes; at most kQueuedBlocks wait
// for the thread (Write waits when that many do), so memory stays bounded.
//
// The file stays owned by the caller; between construction and the return of
// Drain, AwaitFinish or Stop only this writer's thread touches it.
class BlockWriter {
public:
    static constexpr std::size_t kBlockBytes = std::size_t{1} << 20;
    static constexpr std::size_t kQueuedBlocks = 3;

    explicit BlockWriter(std::FILE* file);
    ~BlockWriter();  // Stop()
    BlockWriter(const BlockWriter&) = delete;
    BlockWriter& operator=(const BlockWriter&) = delete;

    // Appends bytes; false once a write of the thread has failed (the bytes
    // are then dropped; error() tells why).
    bool Write(std::string_view bytes);
    // Hands over the gathered bytes and waits until all are written; the
    // errno of the first failure, 0 when none.
    int Drain();
    // Hands over the gathered bytes; after the last one the thread flushes
    // the file to the disk. Returns at once: AwaitFinish waits for it.
    void StartFinish();
    // Waits for StartFinish's work; the errno of the first failure of a
    // write or of the flush to the disk, 0 when none.
    int AwaitFinish();
    // Drops the blocks not yet written and waits for the thread to end.
    void Stop();

    // The errno of the first failure so far, 0 when none.
    int error() const;

private:
    void Hand(bool wait);  // the gathered block to the queue
    void Run();            // the thread

    std::FILE* file_;
    std::string gathering_;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::string> queue_;  // full blocks, oldest first
    std::deque<std::string> spare_;  // written blocks, kept for their room
    bool busy_ = false;              // the thread writes a block it took
    bool finishRequested_ = false;
    bool finished_ = false;  // the flush of StartFinish is done
    bool stopping_ = false;
    // Set under mutex_ by the thread; Write reads it without the lock.
    std::atomic<int> error_{0};
    std::thread thread_;
};

}  // namespace belvaron
