#include "core/bookings/JournalReader.h"

#include <algorithm>
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

// The first `stop` in [p, limit), or limit.
const char* FindStop(const char* p, const char* limit, char stop) {
    while (p < limit && *p != stop) ++p;
    return p;
}

}  // namespace

bool JournalReader::TakeRow(int cellCount, std::size_t maxChars, std::string_view* cells) {
    const char* const end = buffer_ + len_;
    const char* p = buffer_ + pos_;
    for (int c = 0; c < cellCount; ++c) {
        const char stop = c + 1 < cellCount ? '\t' : '\n';
        // A stop right after maxChars bytes ends the cell too: ReadUntil
        // takes maxChars bytes and the stop is consumed after them.
        const std::size_t window = std::min(maxChars + 1, static_cast<std::size_t>(end - p));
        const char* hit = FindStop(p, p + window, stop);
        if (hit == p + window) return false;
        cells[c] = std::string_view(p, static_cast<std::size_t>(hit - p));
        p = hit + 1;
    }
    const std::size_t taken = static_cast<std::size_t>(p - buffer_) - pos_;
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
