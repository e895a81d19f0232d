#include "core/bookings/JournalReader.h"

#include <algorithm>
#include <cstring>

namespace belvaron {

JournalReader::~JournalReader() { Close(); }

bool JournalReader::Open(const std::string& path) {
    Close();
    file_ = input_.Open(path, kMaxFileBytes) ? input_.file() : nullptr;
    pos_ = len_ = 0;
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
        for (std::size_t i = 0; i < total; ++i) {
            const char c = buffer_[i];
            if (c == '\r') {
                if (i + 1 == total && !fileDone_) {
                    carryCr_ = true;
                    break;
                }
                if (i + 1 < total && buffer_[i + 1] == '\n') continue;
            }
            buffer_[out++] = c;
        }
        len_ = out;
    }
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
        if (std::memchr(p, '\0', take)) sawZero_ = true;
        n += take;
        pos_ += take;
        if (hit) break;
    }
    cell[n] = '\0';
    return n;
}

void JournalReader::Skip() {
    if (pos_ == len_ && !Fill()) return;
    if (buffer_[pos_] == '\0') sawZero_ = true;
    ++pos_;
}

bool JournalReader::SkipIf(char c) {
    if (pos_ == len_ && !Fill()) return false;
    if (buffer_[pos_] != c) return false;
    ++pos_;
    return true;
}

}  // namespace belvaron
