#include "core/base/BlockWriter.h"

#include <cerrno>
#include <new>
#include <utility>

#include "core/platform/Files.h"

namespace belvaron {

BlockWriter::BlockWriter(std::FILE* file) : file_(file) {
    gathering_.reserve(kBlockBytes);
    thread_ = std::thread([this] { Run(); });  // last: nothing after it may throw
}

BlockWriter::~BlockWriter() { Stop(); }

bool BlockWriter::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        if (error() != 0) return false;
        const std::size_t room = kBlockBytes - gathering_.size();
        const std::size_t take = bytes.size() < room ? bytes.size() : room;
        gathering_.append(bytes.data(), take);
        bytes.remove_prefix(take);
        if (gathering_.size() == kBlockBytes) Hand(true);
    }
    return error() == 0;
}

void BlockWriter::Hand(bool wait) {
    std::unique_lock lock(mutex_);
    if (wait) {
        changed_.wait(lock, [this] { return queue_.size() < kQueuedBlocks || error_ != 0; });
    }
    if (error_ != 0 || gathering_.empty()) {
        gathering_.clear();
        return;
    }
    queue_.push_back(std::move(gathering_));
    changed_.notify_all();
    // The room of a written block again, so that no new memory is touched.
    if (!spare_.empty()) {
        gathering_ = std::move(spare_.front());
        spare_.pop_front();
    } else {
        gathering_ = std::string();
    }
    lock.unlock();
    gathering_.clear();
    gathering_.reserve(kBlockBytes);
}

int BlockWriter::Drain() {
    Hand(false);
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return (queue_.empty() && !busy_) || !thread_.joinable(); });
    return error_;
}

void BlockWriter::StartFinish() {
    Hand(false);
    gathering_ = std::string();
    std::lock_guard lock(mutex_);
    finishRequested_ = true;
    changed_.notify_all();
}

int BlockWriter::AwaitFinish() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return finished_ || !thread_.joinable(); });
    return error_;
}

void BlockWriter::Stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        queue_.clear();
        changed_.notify_all();
    }
    if (thread_.joinable()) thread_.join();
}

int BlockWriter::error() const { return error_; }

void BlockWriter::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || !queue_.empty() || finishRequested_; });
        if (stopping_) break;
        if (queue_.empty()) {
            // Every block is written: the flush StartFinish asked for.
            lock.unlock();
            const int error = error_ == 0 ? platform::FlushToDisk(file_) : 0;
            lock.lock();
            if (error_ == 0) error_ = error;
            finished_ = true;
            changed_.notify_all();
            break;
        }
        std::string block = std::move(queue_.front());
        queue_.pop_front();
        busy_ = true;
        const bool failedBefore = error_ != 0;
        lock.unlock();
        int error = 0;
        if (!failedBefore) {
            errno = 0;
            if (std::fwrite(block.data(), 1, block.size(), file_) != block.size()) {
                error = errno ? errno : EIO;
            }
        }
        block.clear();
        lock.lock();
        try {
            spare_.push_back(std::move(block));
        } catch (const std::bad_alloc&) {
            // The block goes; Hand makes a new one.
        }
        busy_ = false;
        if (error != 0 && error_ == 0) error_ = error;
        changed_.notify_all();
    }
    busy_ = false;
    spare_.clear();
    changed_.notify_all();
}

}  // namespace belvaron
