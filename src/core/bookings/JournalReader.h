#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "core/base/TextInput.h"

namespace belvaron {

// A streaming byte reader over a journal file in text mode: CR LF is read as
// LF, every other byte as it is. It reads through one fixed buffer and
// allocates nothing after Open.
//
// End of file follows the C library's rule: AtEnd() becomes true only once
// a read has asked for a byte beyond the last one, so a file that ends with a
// line break still yields one empty read after that break.
class JournalReader {
public:
    JournalReader() = default;
    ~JournalReader();
    JournalReader(const JournalReader&) = delete;
    JournalReader& operator=(const JournalReader&) = delete;

    // The largest journal file read.
    static constexpr std::size_t kMaxFileBytes = std::size_t{256} << 20;

    // False when the file cannot be opened for reading, is not a regular
    // file or is larger than kMaxFileBytes. UTF-16 and UTF-8 text is read
    // as Windows-1252 (see input().conversion()).
    bool Open(const std::string& path);
    const TextInput& input() const { return input_; }
    void Close();

    // Copies up to `maxChars` bytes into `cell`, stopping before the first
    // `stop` byte (which stays unread) or at the end of the file, and
    // terminates the text with a zero byte (`cell` holds maxChars + 1 bytes).
    // Returns the number of bytes copied.
    std::size_t ReadUntil(char stop, char* cell, std::size_t maxChars);
    // Fast path of one whole row of `cellCount` cells: cells before the last
    // end at a TAB, the last at an LF; each stop byte is consumed. When every
    // stop lies in the current buffer at most `maxChars` (63 or more) bytes
    // after its cell's start, stores the cells in cells[0 .. cellCount-1]
    // (views into the buffer, valid until a ReadUntil, Skip or SkipIf needs
    // the next chunk of the file) and returns true: the reader is then where
    // ReadUntil/Skip per cell and SkipIf('\n') would leave it, with the same
    // SawZeroByte. Otherwise, and for a row that ends within the buffer's last
    // 64 bytes, consumes nothing and returns false. Never reads the file.
    bool TakeRow(int cellCount, std::size_t maxChars, std::string_view* cells);
    // Consumes one byte, whatever it is (nothing at the end of the file).
    void Skip();
    // Consumes the next byte only when it is `c`; true when it did.
    bool SkipIf(char c);

    // A read has run past the last byte, or a read error occurred.
    bool AtEnd() const { return atEnd_; }
    // A read error occurred (also sets AtEnd).
    bool Failed() const { return failed_; }
    // A zero byte was read: the file is not a text file.
    bool SawZeroByte() const { return sawZero_; }
    // Bytes taken from the file so far (read ahead of what was consumed by
    // at most one buffer), for progress.
    int64_t BytesRead() const { return bytesRead_; }

private:
    // Makes at least one byte available; false at the end of the file or on
    // a read error.
    bool Fill();
    // Turns each CR LF of buffer_[0, total) into LF; the bytes left.
    std::size_t DropCrBeforeLf(std::size_t total);

    static constexpr std::size_t kBufferSize = 64 * 1024;
    static constexpr std::size_t kNoZero = static_cast<std::size_t>(-1);

    TextInput input_;
    std::FILE* file_ = nullptr;  // input_'s stream
    std::size_t pos_ = 0;
    std::size_t len_ = 0;
    // The first zero byte of the buffer, kNoZero when none: reading the
    // bytes in order, a read reaches a zero byte exactly when it takes this
    // one.
    std::size_t zeroAt_ = kNoZero;
    int64_t bytesRead_ = 0;
    bool carryCr_ = false;   // a CR ended the last chunk; its LF may follow
    bool fileDone_ = false;  // fread reported the end or an error
    bool atEnd_ = false;
    bool failed_ = false;
    bool sawZero_ = false;
    char buffer_[kBufferSize];
};

}  // namespace belvaron
