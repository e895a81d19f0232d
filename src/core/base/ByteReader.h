#pragma once

#include <array>
#include <cstddef>
#include <cstdio>
#include <string_view>

namespace belvaron {

// Reads bytes one at a time from a text in memory or from an open file (in
// blocks), so that a reader of arbitrary input needs bounded memory. The
// file is not owned. A read error ends the input and sets error().
class ByteReader {
public:
    explicit ByteReader(std::string_view bytes) : data_(bytes) {}
    explicit ByteReader(std::FILE* file) : file_(file) {}
    ByteReader(const ByteReader&) = delete;
    ByteReader& operator=(const ByteReader&) = delete;

    // The next byte (0..255) without consuming it; EOF at the end.
    int Peek() {
        if (pos_ == data_.size() && !Refill()) return EOF;
        return static_cast<unsigned char>(data_[pos_]);
    }
    // The next byte, consumed; EOF at the end.
    int Get() {
        const int c = Peek();
        if (c != EOF) ++pos_;
        return c;
    }
    bool error() const { return error_; }

private:
    bool Refill() {
        if (!file_) return false;
        const std::size_t n = std::fread(buffer_.data(), 1, buffer_.size(), file_);
        if (n == 0) {
            if (std::ferror(file_)) error_ = true;
            file_ = nullptr;
            return false;
        }
        data_ = std::string_view(buffer_.data(), n);
        pos_ = 0;
        return true;
    }

    std::FILE* file_ = nullptr;
    std::string_view data_;
    std::size_t pos_ = 0;
    std::array<char, 16384> buffer_{};
    bool error_ = false;
};

}  // namespace belvaron
