#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "core/base/BlockWriter.h"
#include "core/platform/Files.h"

namespace belvaron {

// Writes a file so that an existing file of that name is replaced only by a
// complete new one: the bytes go to a new file beside the target, every
// write and the close are checked, and only then is the new file renamed
// over the target. A failed or abandoned write leaves the old file as it was.
// Only a regular file (also behind a symbolic link) or a new name is ever
// replaced: any other existing target is refused with kErrorNotRegularFile,
// a read-only file (no write permission in its mode, also for root) with
// EACCES.
// The bytes are written on a thread of the writer's own (BlockWriter), so
// that the caller forms the next bytes meanwhile; a failure shows in the
// result of a later Write and of Finish.
// The new file is named "<target>.new-XXXXXX" and held while this writer
// has it; Open removes such files of the same target that no running
// writer holds (left by a killed run).
class FileWriter {
public:
    FileWriter() = default;
    ~FileWriter();  // abandons an uncommitted file
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    // Creates the new file beside `path`; false when that is not possible
    // (folder missing or not writable, empty path, a target that is not a
    // regular file).
    bool Open(const std::string& path);
    // Appends bytes; false once any write has failed.
    bool Write(std::string_view bytes);
    // No more bytes follow: the new file's flush to the disk starts on the
    // writer's thread, and the caller may go on with other work; Finish or
    // Commit waits for it. Optional.
    void StartFinish();
    // Flushes and closes the new file without replacing the target yet, so
    // that several files can be completed first and then committed together;
    // false on any failure (the new file is then removed). Commit afterwards
    // only renames.
    bool Finish();
    // Flushes, closes and renames over the target; false on any failure, in
    // which case the target is untouched.
    bool Commit();
    // Removes the new file; the target stays as it was.
    void Abandon();

    // errno of the first failure (or kErrorNotRegularFile), 0 when none.
    int error() const { return error_; }
    // The file that is replaced (a symbolic link resolved); valid after Open.
    const std::string& target() const { return path_; }

private:
    friend class FileSet;
    std::FILE* file_ = nullptr;
    std::unique_ptr<BlockWriter> blocks_;  // null: written on the caller's thread
    bool finishStarted_ = false;
    std::string path_;
    std::string tempPath_;
    void ReleaseLock();

    platform::FileHold hold_;
    int error_ = 0;
    bool finished_ = false;
};

// Writes the whole content at once; false when any step failed (the target
// is then unchanged).
bool WriteFileReplacing(const std::string& path, std::string_view bytes, int* error = nullptr);

// Reads a whole file; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

}  // namespace belvaron
