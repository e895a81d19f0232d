#include "core/base/LineReader.h"

#include <algorithm>
#include <cstring>

namespace belvaron {

LineReader::LineReader(std::FILE* file, std::size_t bufferSize)
    : file_(file),
      buffer_(new char[std::max<std::size_t>(bufferSize, 1)]),
      bufferSize_(std::max<std::size_t>(bufferSize, 1)) {}

bool LineReader::Fill() {
    if (failed_) return false;
    pos_ = 0;
    end_ = std::fread(buffer_.get(), 1, bufferSize_, file_);
    if (end_ > 0) return true;
    if (std::ferror(file_)) failed_ = true;
    return false;
}

void LineReader::Append(const char* bytes, std::size_t n) {
    if (n == 0) return;
    const std::size_t room = sizeof line_ - kept_;
    const std::size_t take = std::min(room, n);
    std::memcpy(line_ + kept_, bytes, take);
    kept_ += take;
    length_ += n;
    last_ = bytes[n - 1];
}

LineReader::Result LineReader::Next() {
    kept_ = 0;
    length_ = 0;
    last_ = '\0';
    bool any = false;
    bool broke = false;
    while (!broke) {
        if (pos_ == end_ && !Fill()) {
            if (failed_) return Result::Error;
            if (!any) return Result::End;
            break;
        }
        const char* start = buffer_.get() + pos_;
        const auto* lf = static_cast<const char*>(std::memchr(start, '\n', end_ - pos_));
        const std::size_t n = lf ? static_cast<std::size_t>(lf - start) : end_ - pos_;
        Append(start, n);
        any = true;
        pos_ += n;
        if (lf) {
            ++pos_;
            broke = true;
        }
    }
    kept_ = std::min(LineTextLength(length_, last_, broke), kMaxFieldChars);
    ++number_;
    return Result::Line;
}

}  // namespace belvaron
