#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string_view>

#include "core/base/Text.h"

namespace belvaron {

// Reads a text file line by line through one fixed buffer, allocated once,
// with the line-end rule of SplitOffLine (Text.h). Of each line at most
// kMaxFieldChars bytes are kept: the rest of a longer line is read and
// dropped, so a long line is one line, never two.
class LineReader {
public:
    enum class Result { Line, End, Error };

    // `file` stays owned by the caller and must outlive the reader.
    explicit LineReader(std::FILE* file, std::size_t bufferSize = 64 * 1024);

    // The next line (Line), the end of the file (End) or a read error
    // (Error; the reader then stays at Error).
    Result Next();
    // The kept bytes of the current line, without its break.
    std::string_view Text() const { return {line_, kept_}; }
    // The 1-based number of the current line; after End or Error, the
    // number of lines read so far.
    int Number() const { return number_; }

private:
    bool Fill();
    void Append(const char* bytes, std::size_t n);

    std::FILE* file_;
    std::unique_ptr<char[]> buffer_;
    std::size_t bufferSize_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool failed_ = false;
    char line_[kMaxFieldChars + 1] = {};  // one more: a CR that may belong to the break
    std::size_t kept_ = 0;                // bytes held in line_
    std::size_t length_ = 0;              // full length of the line read so far
    char last_ = '\0';                    // the line's last byte so far
    int number_ = 0;
};

}  // namespace belvaron
