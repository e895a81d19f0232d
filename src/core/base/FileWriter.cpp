#include "core/base/FileWriter.h"

#include <cerrno>
#include <cstdio>
#include <system_error>

#include "core/base/DataFiles.h"
#include "core/base/ErrnoText.h"
#include "core/platform/Files.h"

namespace belvaron {

namespace {

// Replaces `path` by the file a symbolic link at it leads to (the link then
// stays a link). False when `path` exists but is not a regular file, or is a
// link that leads nowhere or in a circle.
bool ResolveTarget(std::string& path) {
    platform::FileKind kind = platform::KindOf(path, false);
    if (kind == platform::FileKind::Missing) return true;  // a new name
    if (kind == platform::FileKind::Link) {
        path = platform::ResolveLink(path);
        if (path.empty()) return false;
        kind = platform::KindOf(path, true);
    }
    return kind == platform::FileKind::Regular;
}

// Removes the files "<target>.new-XXXXXX" beside `target` that no writer
// holds: the new files of runs that were killed before they ended.
void RemoveStaleTemporaries(const std::string& target) {
    const std::string folder = FolderOfPath(target);
    const std::string prefix = platform::Utf8Path(platform::FsPath(target).filename()) + ".new-";
    platform::ForEachName(folder, [&](const std::string& name) {
        if (name.size() != prefix.size() + 6 || !name.starts_with(prefix)) return;
        platform::RemoveUnheldFile(platform::JoinPath(folder, name));
    });
}

}  // namespace

FileWriter::~FileWriter() { Abandon(); }

bool FileWriter::Open(const std::string& path) {
    Abandon();
    error_ = 0;
    if (path.empty() || platform::IsPathSeparator(path.back())) {
        error_ = ENOENT;
        return false;
    }
    path_ = path;
    if (!ResolveTarget(path_)) {
        error_ = kErrorNotRegularFile;
        return false;
    }
    if (platform::IsReadOnly(path_)) {
        error_ = EACCES;
        return false;
    }
    RemoveStaleTemporaries(path_);
    // An existing file keeps its permissions; a new one gets those of a
    // plainly created file.
    tempPath_ = path_ + ".new-XXXXXX";
    file_ = platform::CreateUniqueFile(tempPath_, 0, path_);
    if (!file_) {
        error_ = errno;
        tempPath_.clear();
        return false;
    }
    // Held until the new file is renamed or removed, also after Finish:
    // marks it as belonging to a running writer.
    hold_.Hold(tempPath_);
    try {
        blocks_ = std::make_unique<BlockWriter>(file_);
    } catch (const std::system_error&) {
        blocks_.reset();  // no thread to be had: written on this one
    }
    finishStarted_ = false;
    return true;
}

bool FileWriter::Write(std::string_view bytes) {
    if (!file_ || error_ != 0 || finishStarted_) return false;
    if (blocks_) {
        if (blocks_->Write(bytes)) return true;
        error_ = blocks_->error();
        return false;
    }
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
        error_ = errno ? errno : EIO;
        return false;
    }
    return true;
}

void FileWriter::StartFinish() {
    if (!file_ || !blocks_ || finishStarted_) return;
    blocks_->StartFinish();
    finishStarted_ = true;
}

bool FileWriter::Finish() {
    if (!file_) return finished_;
    bool ok = error_ == 0;
    if (blocks_) {
        StartFinish();
        const int error = blocks_->AwaitFinish();
        blocks_.reset();
        if (ok && error != 0) {
            error_ = error;
            ok = false;
        }
    } else if (ok) {
        if (const int error = platform::FlushToDisk(file_); error != 0) {
            error_ = error;
            ok = false;
        }
    }
    if (std::fclose(file_) != 0 && ok) {
        error_ = errno ? errno : EIO;
        ok = false;
    }
    file_ = nullptr;
    if (!ok) {
        platform::RemoveFile(tempPath_);
        tempPath_.clear();
    }
    finished_ = ok;
    return ok;
}

bool FileWriter::Commit() {
    if (!Finish()) return false;
    finished_ = false;
    if (platform::MoveReplacing(tempPath_.c_str(), path_.c_str()) != 0) {
        error_ = errno;
        platform::RemoveFile(tempPath_);
        tempPath_.clear();
        return false;
    }
    tempPath_.clear();
    ReleaseLock();
    return true;
}

void FileWriter::ReleaseLock() { hold_.Release(); }

void FileWriter::Abandon() {
    finished_ = false;
    blocks_.reset();  // drops what is not written yet
    finishStarted_ = false;
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!tempPath_.empty()) {
        platform::RemoveFile(tempPath_);
        tempPath_.clear();
    }
    ReleaseLock();
}

bool WriteFileReplacing(const std::string& path, std::string_view bytes, int* error) {
    FileWriter writer;
    const bool ok = writer.Open(path) && writer.Write(bytes) && writer.Commit();
    if (error) *error = writer.error();
    return ok;
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    std::FILE* f = platform::OpenFile(path, "rb");
    if (!f) return false;
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
    const bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

}  // namespace belvaron
