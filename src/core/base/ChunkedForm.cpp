#include "core/base/ChunkedForm.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>

namespace belvaron {

namespace {

// The odd-numbered chunks, formed by the helper thread into two slots in
// turn: chunk k (odd) goes into slot (k / 2) % 2 once the calling thread
// has taken what the slot held before.
class HelperChunks {
public:
    HelperChunks(int64_t count, int64_t chunkItems, const FormChunk& form)
        : count_(count), chunkItems_(chunkItems), form_(form) {}
    ~HelperChunks() { Stop(); }
    HelperChunks(const HelperChunks&) = delete;
    HelperChunks& operator=(const HelperChunks&) = delete;

    void Start() {
        thread_ = std::thread([this] { Run(); });
    }

    // Waits for odd chunk `k` and hands its bytes to `take`; rethrows what
    // the helper threw.
    bool Take(int64_t k, const TakeChunk& take) {
        Slot& slot = slots_[(k / 2) % 2];
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return slot.chunk == k || failure_; });
        // A chunk formed before the helper failed is still handed over.
        if (slot.chunk != k) std::rethrow_exception(failure_);
        lock.unlock();
        const bool go = take(std::string_view(slot.bytes.data(), slot.used));
        lock.lock();
        slot.chunk = -1;
        changed_.notify_all();
        return go;
    }

    void Stop() {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
            changed_.notify_all();
        }
        if (thread_.joinable()) thread_.join();
    }

private:
    struct Slot {
        int64_t chunk = -1;  // the chunk the bytes are of; -1: free
        std::string bytes;
        std::size_t used = 0;
    };

    void Run() {
        try {
            for (int64_t k = 1; k * chunkItems_ < count_; k += 2) {
                Slot& slot = slots_[(k / 2) % 2];
                {
                    std::unique_lock lock(mutex_);
                    changed_.wait(lock, [&] { return slot.chunk < 0 || stopping_; });
                    if (stopping_) return;
                }
                slot.used =
                    form_(k * chunkItems_, std::min(count_, (k + 1) * chunkItems_), slot.bytes);
                std::lock_guard lock(mutex_);
                slot.chunk = k;
                changed_.notify_all();
            }
        } catch (...) {
            std::lock_guard lock(mutex_);
            failure_ = std::current_exception();
            changed_.notify_all();
        }
    }

    const int64_t count_;
    const int64_t chunkItems_;
    const FormChunk& form_;
    Slot slots_[2];
    std::mutex mutex_;
    std::condition_variable changed_;
    bool stopping_ = false;
    std::exception_ptr failure_;
    std::thread thread_;
};

bool FormAlone(int64_t count, int64_t chunkItems, const FormChunk& form, const TakeChunk& take) {
    std::string bytes;
    for (int64_t begin = 0; begin < count; begin += chunkItems) {
        const std::size_t used = form(begin, std::min(count, begin + chunkItems), bytes);
        if (!take(std::string_view(bytes.data(), used))) return false;
    }
    return true;
}

}  // namespace

bool FormInChunks(int64_t count, int64_t chunkItems, const FormChunk& form, const TakeChunk& take) {
    chunkItems = std::max<int64_t>(chunkItems, 1);
    if (count <= chunkItems) return FormAlone(count, chunkItems, form, take);
    HelperChunks helper(count, chunkItems, form);
    try {
        helper.Start();
    } catch (const std::system_error&) {
        return FormAlone(count, chunkItems, form, take);
    }
    std::string bytes;
    for (int64_t k = 0; k * chunkItems < count; ++k) {
        if (k % 2 == 1) {
            if (!helper.Take(k, take)) return false;
            continue;
        }
        const std::size_t used = form(k * chunkItems, std::min(count, (k + 1) * chunkItems), bytes);
        if (!take(std::string_view(bytes.data(), used))) return false;
    }
    return true;
}

void RunSideBySide(const std::function<void()>& first, const std::function<void()>& second) {
    std::exception_ptr secondFailure;
    std::thread helper;
    try {
        helper = std::thread([&] {
            try {
                second();
            } catch (...) {
                secondFailure = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        first();
        second();
        return;
    }
    std::exception_ptr firstFailure;
    try {
        first();
    } catch (...) {
        firstFailure = std::current_exception();
    }
    helper.join();
    if (firstFailure) std::rethrow_exception(firstFailure);
    if (secondFailure) std::rethrow_exception(secondFailure);
}

}  // namespace belvaron
