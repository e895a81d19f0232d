#pragma once

#include <cstddef>
#include <string>

namespace belvaron {

// How reading an input file ended.
enum class InputStatus {
    Read,        // `bytes` holds the whole file
    Missing,     // no file of that name (ENOENT, or an empty path)
    NotRegular,  // a folder, FIFO, device or socket: never read
    TooLarge,    // larger than the reader's limit: not read
    Failed,      // could not be opened or read; `error` holds errno
};

struct InputFile {
    InputStatus status = InputStatus::Missing;
    int error = 0;      // errno for Failed, 0 otherwise
    std::string bytes;  // empty unless Read
};

// Reads the regular file at `path` (a symbolic link is followed) of at most
// `maxBytes` bytes. Never blocks on a FIFO and never reads more than
// `maxBytes` + 1 bytes, so a device or a growing file ends the reading.
InputFile ReadInputFile(const std::string& path, std::size_t maxBytes);

// The reason for a status other than Read, as a short German phrase for
// parentheses ("keine normale Datei", "größer als 64 MB", the errno reason).
std::string InputFailureReason(const InputFile& file, std::size_t maxBytes);

}  // namespace belvaron
