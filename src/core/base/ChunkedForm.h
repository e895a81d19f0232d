#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace belvaron {

// Forms the bytes of items [0, count) chunk by chunk, on the calling thread
// and on one helper thread at once, and hands the chunks to `take` in their
// order, on the calling thread.
//
// - `form(begin, end, buffer)` writes the bytes of items [begin, end) at
//   the start of `buffer` and returns their count. The buffer keeps its
//   size from chunk to chunk (bytes beyond what a chunk wrote mean nothing),
//   so a writer that forms in place grows it only when it needs more room.
//   `form` runs on either thread, for different chunks at the same time, so
//   it may only read what both share (and write no global such as
//   TracePoint).
// - `take(bytes)` returns false to stop (a failed write, a cancel); no
//   further chunk is handed over then.
//
// Without a helper thread (none to be had, or no more than one chunk) all
// runs on the calling thread, with the same result. An exception of `form`
// on the helper thread is thrown again on the calling thread. Returns false
// when `take` stopped the work.
using FormChunk = std::function<std::size_t(int64_t begin, int64_t end, std::string& buffer)>;
using TakeChunk = std::function<bool(std::string_view bytes)>;
bool FormInChunks(int64_t count, int64_t chunkItems, const FormChunk& form, const TakeChunk& take);

// Runs `second` on a helper thread while `first` runs on the calling thread,
// and returns when both have ended; an exception of either is thrown again
// on the calling thread (the first's before the second's). Without a
// helper thread both run on the calling thread, `first` first. The two may
// only read what they share and must write to things of their own.
void RunSideBySide(const std::function<void()>& first, const std::function<void()>& second);

}  // namespace belvaron
