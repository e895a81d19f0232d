#include "core/base/FileSet.h"

#include <cerrno>
#include <cstdio>

#include "core/base/ErrnoText.h"
#include "core/base/FileWriter.h"
#include "core/platform/Files.h"

namespace belvaron {

namespace {

// A free name "<path>.old-XXXXXX" beside `path` (reserved as an empty file
// that the following rename replaces); empty when none can be made.
std::string ReserveBackupName(const std::string& path) {
    std::string name = path + ".old-XXXXXX";
    std::FILE* file = platform::CreateUniqueFile(name, 0);
    if (!file) return {};
    std::fclose(file);
    return name;
}

}  // namespace

FileSet::FileSet(RenameFunction rename)
    : rename_(rename ? std::move(rename) : [](const char* from, const char* to) {
          return platform::MoveReplacing(from, to);
      }) {}

void FileSet::Replace(FileWriter& finished) {
    entries_.push_back({&finished, finished.target(), {}, false});
}

void FileSet::Remove(const std::string& path) { entries_.push_back({nullptr, path, {}, false}); }

bool FileSet::MoveAside(Entry& entry, FileSetOutcome& outcome) {
    const platform::FileKind kind = platform::KindOf(entry.target, false);
    if (kind == platform::FileKind::Missing) return true;
    if (!entry.writer && kind != platform::FileKind::Regular && kind != platform::FileKind::Link) {
        outcome.error = kErrorNotRegularFile;  // never moves a folder or device away
        outcome.failedPath = entry.target;
        return false;
    }
    entry.backup = ReserveBackupName(entry.target);
    if (entry.backup.empty() || rename_(entry.target.c_str(), entry.backup.c_str()) != 0) {
        outcome.error = errno ? errno : EIO;
        outcome.failedPath = entry.target;
        if (!entry.backup.empty()) platform::RemoveFile(entry.backup);
        entry.backup.clear();
        return false;
    }
    return true;
}

bool FileSet::Place(Entry& entry, FileSetOutcome& outcome) {
    FileWriter& writer = *entry.writer;
    if (!writer.finished_ || rename_(writer.tempPath_.c_str(), entry.target.c_str()) != 0) {
        outcome.error = writer.finished_ ? (errno ? errno : EIO) : writer.error();
        outcome.failedPath = entry.target;
        return false;
    }
    writer.tempPath_.clear();
    writer.finished_ = false;
    writer.ReleaseLock();
    entry.placed = true;
    return true;
}

bool FileSet::Undo(std::vector<Entry>::reverse_iterator from) {
    bool restored = true;
    for (auto it = from; it != entries_.rend(); ++it) {
        if (it->placed && it->backup.empty() && !platform::RemoveFile(it->target)) restored = false;
        if (!it->backup.empty() && rename_(it->backup.c_str(), it->target.c_str()) != 0) {
            restored = false;
        }
        it->placed = false;
        it->backup.clear();
    }
    return restored;
}

FileSetOutcome FileSet::Commit() {
    FileSetOutcome outcome;
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        errno = 0;
        const bool done = MoveAside(*it, outcome) && (!it->writer || Place(*it, outcome));
        if (!done) {
            outcome.restored = Undo(std::make_reverse_iterator(it + 1));
            return outcome;
        }
    }
    for (Entry& entry : entries_) {
        if (!entry.backup.empty()) platform::RemoveFile(entry.backup);
    }
    outcome.committed = true;
    return outcome;
}

}  // namespace belvaron
