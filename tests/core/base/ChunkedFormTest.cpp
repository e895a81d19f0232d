#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "core/base/ChunkedForm.h"

namespace belvaron {
namespace {

// Each item's bytes name it, so that a lost, doubled or swapped chunk shows.
std::string Numbers(int64_t begin, int64_t end) {
    std::string out;
    for (int64_t i = begin; i < end; ++i) out += std::to_string(i) + ',';
    return out;
}

// Writes at the buffer's start and leaves stale bytes behind them, as a
// writer that forms in place does.
std::size_t FormNumbers(int64_t begin, int64_t end, std::string& buffer) {
    const std::string bytes = Numbers(begin, end);
    if (buffer.size() < bytes.size() + 5) buffer.resize(bytes.size() + 5, '#');
    bytes.copy(buffer.data(), bytes.size());
    return bytes.size();
}

std::string Expected(int64_t count) { return Numbers(0, count); }

class ChunkCounts : public ::testing::TestWithParam<int64_t> {};

TEST_P(ChunkCounts, ChunksArriveWholeAndInOrder) {
    constexpr int64_t kChunk = 7;
    const int64_t count = GetParam();
    std::string got;
    std::vector<std::thread::id> takers;
    const bool done = FormInChunks(count, kChunk, FormNumbers, [&](std::string_view bytes) {
        got += bytes;
        takers.push_back(std::this_thread::get_id());
        return true;
    });
    EXPECT_TRUE(done);
    EXPECT_EQ(got, Expected(count));
    EXPECT_EQ(static_cast<int64_t>(takers.size()), count == 0 ? 0 : (count + kChunk - 1) / kChunk);
    for (const auto& id : takers) EXPECT_EQ(id, std::this_thread::get_id());
}

// None, one item, one chunk and one more, many chunks of both threads.
INSTANTIATE_TEST_SUITE_P(Counts, ChunkCounts, ::testing::Values(0, 1, 6, 7, 8, 14, 15, 700, 7003));

TEST(ChunkedForm, ATakeThatStopsEndsTheWork) {
    for (const int stopAt : {1, 2, 3}) {
        int takes = 0;
        std::string got;
        const bool done = FormInChunks(1000, 10, FormNumbers, [&](std::string_view bytes) {
            got += bytes;
            return ++takes < stopAt;
        });
        EXPECT_FALSE(done);
        EXPECT_EQ(takes, stopAt);
        EXPECT_EQ(got, Numbers(0, 10 * stopAt));
    }
}

// A failure in a chunk of either thread reaches the caller; what came
// before it was taken in order.
TEST(ChunkedForm, AFailureOfEitherThreadReachesTheCaller) {
    for (const int64_t failing : {0, 1, 4, 5}) {
        std::string got;
        const auto form = [failing](int64_t begin, int64_t end, std::string& buffer) {
            if (begin / 10 == failing) throw std::runtime_error("chunk");
            return FormNumbers(begin, end, buffer);
        };
        EXPECT_THROW(FormInChunks(100, 10, form,
                                  [&](std::string_view bytes) {
                                      got += bytes;
                                      return true;
                                  }),
                     std::runtime_error)
            << failing;
        const std::string expected = Numbers(0, 10 * failing);
        EXPECT_EQ(got.substr(0, expected.size()), expected);
        EXPECT_LE(got.size(), expected.size());
    }
}

// The helper fails while a chunk it formed earlier still waits: that chunk
// is handed over before the failure reaches the caller.
TEST(ChunkedForm, ChunksFormedBeforeAFailureAreTaken) {
    std::atomic<bool> failed{false};
    const auto form = [&failed](int64_t begin, int64_t end, std::string& buffer) {
        if (begin == 50) {
            failed = true;
            throw std::runtime_error("chunk 5");
        }
        // The calling thread's chunk 2 waits until the helper has failed in
        // chunk 5, which it forms once chunk 1 was taken; chunk 3 is formed
        // by then and waits in its slot.
        if (begin == 20) {
            while (!failed) std::this_thread::yield();
        }
        return FormNumbers(begin, end, buffer);
    };
    std::string got;
    EXPECT_THROW(FormInChunks(100, 10, form,
                              [&](std::string_view bytes) {
                                  got += bytes;
                                  return true;
                              }),
                 std::runtime_error);
    EXPECT_EQ(got, Numbers(0, 50));
}

}  // namespace
}  // namespace belvaron
