#include "core/bookings/JournalReader.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace belvaron {

JournalReader::~JournalReader() { Close(); }

bool JournalReader::Open(const std::string& path) {
    Close();
    file_ = input_.Open(path, kMaxFileBytes) ? input_.file() : nullptr;
    pos_ = len_ = 0;
    zeroAt_ = kNoZero;
    bytesRead_ = 0;
    carryCr_ = fileDone_ = atEnd_ = failed_ = sawZero_ = false;
    return file_ != nullptr;
}

void JournalReader::Close() {
    input_.Close();
    file_ = nullptr;
}

namespace {

constexpr std::ptrdiff_t kBlock = 16;

// Bit i is set for each of the kBlock bytes p[i] that equals `stop`, the
// other bits are clear.
uint32_t StopMask(const char* p, char stop) {
#if defined(__SSE2__)
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    return static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(stop))));
#else
    uint32_t mask = 0;
    for (int i = 0; i < kBlock; ++i) mask |= uint32_t{p[i] == stop} << i;
    return mask;
#endif
}

// Moves the bytes of buffer[in, total) up to the first CR down to `out`
// (out <= in); returns where that CR stands, or total, and advances `out` by
// the bytes moved. Blocks without a CR move whole, as one load and store;
// so does the block with the CR once it lands wholly before the CR (16 CRs
// dropped): the bytes it puts after `out` are overwritten by the next ones.
std::size_t MoveRun(char* buffer, std::size_t in, std::size_t total, std::size_t& out) {
    for (; total - in >= kBlock; in += kBlock, out += kBlock) {
        const uint32_t crs = StopMask(buffer + in, '\r');
        if (crs != 0) {
            const auto cr = in + static_cast<std::size_t>(std::countr_zero(crs));
            if (out + kBlock <= cr) {
                std::memmove(buffer + out, buffer + in, kBlock);
            } else if (out != in) {
                std::memmove(buffer + out, buffer + in, cr - in);
            }
            out += cr - in;
            return cr;
        }
        if (out != in) std::memmove(buffer + out, buffer + in, kBlock);
    }
    const void* cr = std::memchr(buffer + in, '\r', total - in);
    const std::size_t end =
        cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - buffer) : total;
    if (out != in) std::memmove(buffer + out, buffer + in, end - in);
    out += end - in;
    return end;
}

}  // namespace

// Reads the next chunk and turns each CR LF into LF in place. A CR at the end
// of a chunk is held back until the next chunk shows whether an LF follows.
bool JournalReader::Fill() {
    pos_ = len_ = 0;
    zeroAt_ = kNoZero;
    while (len_ == 0) {
        if (fileDone_ || !file_) {
            if (carryCr_) {
                carryCr_ = false;
                buffer_[0] = '\r';
                len_ = 1;
                return true;
            }
            atEnd_ = true;
            return false;
        }
        std::size_t start = 0;
        if (carryCr_) {
            buffer_[0] = '\r';
            start = 1;
            carryCr_ = false;
        }
        const std::size_t n = std::fread(buffer_ + start, 1, kBufferSize - start, file_);
        bytesRead_ += static_cast<int64_t>(n);
        if (n < kBufferSize - start) {
            fileDone_ = true;
            if (std::ferror(file_)) {
                failed_ = true;
                atEnd_ = true;
                return false;
            }
        }
        len_ = DropCrBeforeLf(start + n);
    }
    const void* zero = std::memchr(buffer_, '\0', len_);
    zeroAt_ = zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - buffer_) : kNoZero;
    return true;
}

std::size_t JournalReader::ReadUntil(char stop, char* cell, std::size_t maxChars) {
    std::size_t n = 0;
    while (n < maxChars) {
        if (pos_ == len_ && !Fill()) break;
        const std::size_t avail = std::min(len_ - pos_, maxChars - n);
        const char* p = buffer_ + pos_;
        const void* hit = std::memchr(p, stop, avail);
        const std::size_t take =
            hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - p) : avail;
        std::memcpy(cell + n, p, take);
        if (zeroAt_ - pos_ < take) sawZero_ = true;
        n += take;
        pos_ += take;
        if (hit) break;
    }
    cell[n] = '\0';
    return n;
}

namespace {

constexpr std::ptrdiff_t kWindow = 4 * kBlock;

// StopMask over the kWindow bytes at p: bit i for p[i].
inline uint64_t StopMask64(const char* p, char stop) {
    return uint64_t{StopMask(p, stop)} | uint64_t{StopMask(p + kBlock, stop)} << 16 |
           uint64_t{StopMask(p + 2 * kBlock, stop)} << 32 |
           uint64_t{StopMask(p + 3 * kBlock, stop)} << 48;
}

}  // namespace

// The row is scanned in windows of 64 bytes, most rows in one: four
// compares give the places of a window's TABs (or, in the last cell, its
// LFs), and each cell costs a few steps. Only the first stop of a window can
// end a cell that began in an earlier window; a later one ends a cell of
// fewer than 64 bytes, within maxChars (at least 63). A row that ends in the
// buffer's last partial window is left to the cell reads.
bool JournalReader::TakeRow(int cellCount, std::size_t maxChars, std::string_view* cells) {
    const char* const end = buffer_ + len_;
    const char* cell = buffer_ + pos_;  // start of cell *out
    const auto limit = static_cast<std::ptrdiff_t>(maxChars);
    std::string_view* out = cells;
    std::string_view* const last = cells + (cellCount - 1);
    for (const char* p = cell; end - p >= kWindow; p += kWindow) {
        if (out < last) {
            uint64_t tabs = StopMask64(p, '\t');
            // A stop right after maxChars bytes ends the cell too: ReadUntil
            // takes maxChars bytes and the stop is consumed after them.
            if (tabs != 0 && p + std::countr_zero(tabs) - cell > limit) return false;
            for (; tabs != 0; tabs &= tabs - 1) {
                const char* stop = p + std::countr_zero(tabs);
                *out = std::string_view(cell, static_cast<std::size_t>(stop - cell));
                cell = stop + 1;
                if (++out == last) break;
            }
        }
        if (out == last && cell - p < kWindow) {
            // The last cell ends at the first LF from its start on.
            const auto from = static_cast<int>(std::max<std::ptrdiff_t>(cell - p, 0));
            const uint64_t lfs = StopMask64(p, '\n') & (~uint64_t{0} << from);
            if (lfs != 0) {
                const char* lf = p + std::countr_zero(lfs);
                if (lf - cell > limit) return false;
                *out = std::string_view(cell, static_cast<std::size_t>(lf - cell));
                const std::size_t taken = static_cast<std::size_t>(lf + 1 - buffer_) - pos_;
                if (zeroAt_ - pos_ < taken) sawZero_ = true;
                pos_ += taken;
                return true;
            }
        }
        // No stop in the rest of the window: the cell runs on past it.
        if (p + kWindow - cell > limit) return false;
    }
    return false;
}

// Copies the runs between CRs whole; a CR followed by LF is dropped. A CR
// at the end of a chunk that is not the file's last is held back.
std::size_t JournalReader::DropCrBeforeLf(std::size_t total) {
    std::size_t out = 0;
    std::size_t in = 0;
    while (in < total) {
        in = MoveRun(buffer_, in, total, out);
        if (in == total) break;
        if (in + 1 == total && !fileDone_) {
            carryCr_ = true;
            break;
        }
        if (in + 1 == total || buffer_[in + 1] != '\n') buffer_[out++] = '\r';
        ++in;
    }
    return out;
}

void JournalReader::Skip() {
    if (pos_ == len_ && !Fill()) return;
    if (pos_ == zeroAt_) sawZero_ = true;
    ++pos_;
}

bool JournalReader::SkipIf(char c) {
    if (pos_ == len_ && !Fill()) return false;
    if (buffer_[pos_] != c) return false;
    ++pos_;
    return true;
}

}  // namespace belvaron
