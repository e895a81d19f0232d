#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#include "core/base/CodePage.h"
#include "core/base/InputFile.h"
#include "core/base/Notices.h"

namespace belvaron {

// An input text file (journal, VAT report, REPLACE list) prepared for a
// reader that takes a FILE*: read whole through ReadInputFile (a regular file
// within the reader's limit only), converted by ConvertTextToCp1252, and
// offered as a read-only stream over the converted bytes. A large file that
// needs no conversion is streamed from the file again (the same regular file
// of the same size), so that its bytes are not held in memory beside what
// the reader builds from them; when its first bytes already show that it
// needs none, it is streamed at once without being read whole first.
class TextInput {
public:
    TextInput() = default;
    ~TextInput();
    TextInput(const TextInput&) = delete;
    TextInput& operator=(const TextInput&) = delete;

    // True when the file was read; file() then streams its converted bytes.
    bool Open(const std::string& path, std::size_t maxBytes);
    void Close();

    std::FILE* file() const { return file_; }
    // The bytes the stream holds (after the conversion).
    std::size_t size() const { return size_; }
    // How Open ended (status and errno; the bytes live in the stream).
    InputStatus status() const { return status_; }
    int error() const { return error_; }
    const Cp1252Conversion& conversion() const { return conversion_; }

private:
    // A file of at least this size that needs no conversion is streamed from
    // the file itself rather than held in memory.
    static constexpr std::size_t kStreamFromFileBytes = std::size_t{4} << 20;
    // Bytes read from the start of a large file to see whether they decide
    // that it needs no conversion (StartKeepsWindows1252).
    static constexpr std::size_t kProbeBytes = std::size_t{64} << 10;
    bool StreamFromFile(const std::string& path);
    // Streams a large file at once when its start decides that it needs no
    // conversion; false (nothing kept open) when the start cannot tell or the
    // file is not a regular file of kStreamFromFileBytes .. maxBytes bytes:
    // the caller then reads it whole.
    bool StreamWhenStartDecides(const std::string& path, std::size_t maxBytes);

    std::string bytes_;
    std::size_t size_ = 0;
    std::FILE* file_ = nullptr;
    InputStatus status_ = InputStatus::Missing;
    int error_ = 0;
    Cp1252Conversion conversion_;
};

// After a file was converted: appends the notice of how many of its
// characters had no Windows-1252 equivalent; nothing when there were none.
void AddConversionNotice(Notices& notices, const std::string& path, const Cp1252Conversion& c);

}  // namespace belvaron
