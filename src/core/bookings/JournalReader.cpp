#include "core/bookings/JournalReader.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

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
        const std::size_t total = start + n;
        std::size_t out = 0;
        std::size_t in = 0;
        // Copies the runs between CRs whole; a CR followed by LF is dropped.
        while (in < total) {
            const void* cr = std::memchr(buffer_ + in, '\r', total - in);
            const std::size_t end =
                cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - buffer_) : total;
            if (out != in) std::memmove(buffer_ + out, buffer_ + in, end - in);
            out += end - in;
            in = end;
            if (in == total) break;
            if (in + 1 == total && !fileDone_) {
                carryCr_ = true;
                break;
            }
            if (in + 1 == total || buffer_[in + 1] != '\n') buffer_[out++] = '\r';
            ++in;
        }
        len_ = out;
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

// Bit 8*i+7 is set for each of the eight bytes p[i] that equals `stop`, the
// other bits are clear.
uint64_t StopBits(const char* p, char stop) {
    if constexpr (std::endian::native == std::endian::little) {
        constexpr uint64_t kLow7 = 0x7f7f'7f7f'7f7f'7f7fu;
        uint64_t word;
        std::memcpy(&word, p, 8);
        const uint64_t x = word ^ (0x0101'0101'0101'0101u * static_cast<unsigned char>(stop));
        return ~(((x & kLow7) + kLow7) | x | kLow7);
    }
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) {
        if (p[i] == stop) bits |= uint64_t{0x80} << (8 * i);
    }
    return bits;
}

// The byte of a StopBits word that the lowest set bit marks.
int FirstStop(uint64_t bits) { return std::countr_zero(bits) / 8; }

// The first `stop` in [p, limit), or limit.
const char* FindStop(const char* p, const char* limit, char stop) {
    for (; limit - p >= 8; p += 8) {
        const uint64_t bits = StopBits(p, stop);
        if (bits != 0) return p + FirstStop(bits);
    }
    while (p < limit && *p != stop) ++p;
    return p;
}

}  // namespace

// Each TAB found in a word of eight bytes ends one of the first cells, so a
// row of short cells is scanned word by word, not cell by cell.
bool JournalReader::TakeRow(int cellCount, std::size_t maxChars, std::string_view* cells) {
    const char* const end = buffer_ + len_;
    const char* cell = buffer_ + pos_;  // start of cell c
    const auto limit = static_cast<std::ptrdiff_t>(maxChars);
    int c = 0;
    // A stop right after maxChars bytes ends the cell too: ReadUntil takes
    // maxChars bytes and the stop is consumed after them.
    auto endCell = [&](const char* stop) {
        if (stop - cell > limit) return false;
        cells[c++] = std::string_view(cell, static_cast<std::size_t>(stop - cell));
        cell = stop + 1;
        return true;
    };
    const char* p = cell;
    for (; c + 1 < cellCount && end - p >= 8; p += 8) {
        for (uint64_t tabs = StopBits(p, '\t'); tabs != 0 && c + 1 < cellCount; tabs &= tabs - 1) {
            if (!endCell(p + FirstStop(tabs))) return false;
        }
        if (p + 8 - cell > limit) return false;
    }
    for (; c + 1 < cellCount && p < end; ++p) {
        if (*p == '\t' && !endCell(p)) return false;
    }
    if (c + 1 < cellCount) return false;
    const char* lf = FindStop(cell, cell + std::min(limit + 1, end - cell), '\n');
    if (lf == end || !endCell(lf)) return false;
    const std::size_t taken = static_cast<std::size_t>(cell - buffer_) - pos_;
    if (zeroAt_ - pos_ < taken) sawZero_ = true;
    pos_ += taken;
    return true;
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
