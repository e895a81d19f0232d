#include "core/base/FileWriter.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "core/base/ErrnoText.h"

namespace belvaron {

namespace {

// Replaces `path` by the file a symbolic link at it leads to (the link then
// stays a link). False when `path` exists but is not a regular file, or is a
// link that leads nowhere or in a circle.
bool ResolveTarget(std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) return true;  // a new name
    if (S_ISLNK(st.st_mode)) {
        char* resolved = realpath(path.c_str(), nullptr);
        if (!resolved) return false;
        path = resolved;
        std::free(resolved);
        if (stat(path.c_str(), &st) != 0) return false;
    }
    return S_ISREG(st.st_mode);
}

// True when the existing file at `path` is read-only: no write permission
// for anyone, or none for this user (root included: the mode counts).
bool IsReadOnly(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return false;
    return (st.st_mode & 0222) == 0 || access(path.c_str(), W_OK) != 0;
}

// Removes the files "<target>.new-XXXXXX" beside `target` that no writer
// holds locked: the new files of runs that were killed before they ended.
void RemoveStaleTemporaries(const std::string& target) {
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const std::string prefix =
        (slash == std::string::npos ? target : target.substr(slash + 1)) + ".new-";
    DIR* dir = opendir(folder.c_str());
    if (!dir) return;
    while (const dirent* entry = readdir(dir)) {
        const std::string_view name(entry->d_name);
        if (name.size() != prefix.size() + 6 || !name.starts_with(prefix)) continue;
        const int fd =
            openat(dirfd(dir), entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st {};
        if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0) {
            unlinkat(dirfd(dir), entry->d_name, 0);
        }
        close(fd);
    }
    closedir(dir);
}

}  // namespace

FileWriter::~FileWriter() { Abandon(); }

bool FileWriter::Open(const std::string& path) {
    Abandon();
    error_ = 0;
    if (path.empty() || path.back() == '/') {
        error_ = ENOENT;
        return false;
    }
    path_ = path;
    if (!ResolveTarget(path_)) {
        error_ = kErrorNotRegularFile;
        return false;
    }
    if (IsReadOnly(path_)) {
        error_ = EACCES;
        return false;
    }
    RemoveStaleTemporaries(path_);
    struct stat st {};
    tempPath_ = path_ + ".new-XXXXXX";
    const int fd = mkstemp(tempPath_.data());
    if (fd < 0) {
        error_ = errno;
        tempPath_.clear();
        return false;
    }
    // An existing file keeps its permissions; a new one gets those of a
    // plainly created file (mkstemp makes 0600).
    if (stat(path_.c_str(), &st) == 0) {
        fchmod(fd, st.st_mode & 07777);
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        fchmod(fd, 0666 & ~mask);
    }
    // Held until the new file is renamed or removed, also after Finish:
    // marks it as belonging to a running writer.
    lockFd_ = open(tempPath_.c_str(), O_RDONLY | O_CLOEXEC);
    if (lockFd_ >= 0) flock(lockFd_, LOCK_EX | LOCK_NB);
    file_ = fdopen(fd, "wb");
    if (!file_) {
        error_ = errno;
        close(fd);
        unlink(tempPath_.c_str());
        tempPath_.clear();
        return false;
    }
    return true;
}

bool FileWriter::Write(std::string_view bytes) {
    if (!file_ || error_ != 0) return false;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
        error_ = errno ? errno : EIO;
        return false;
    }
    return true;
}

bool FileWriter::Finish() {
    if (!file_) return finished_;
    bool ok = error_ == 0;
    if (std::fflush(file_) != 0 && ok) {
        error_ = errno ? errno : EIO;
        ok = false;
    }
    if (ok && fsync(fileno(file_)) != 0 && errno != EINVAL) {
        error_ = errno;
        ok = false;
    }
    if (std::fclose(file_) != 0 && ok) {
        error_ = errno ? errno : EIO;
        ok = false;
    }
    file_ = nullptr;
    if (!ok) {
        unlink(tempPath_.c_str());
        tempPath_.clear();
    }
    finished_ = ok;
    return ok;
}

bool FileWriter::Commit() {
    if (!Finish()) return false;
    finished_ = false;
    if (std::rename(tempPath_.c_str(), path_.c_str()) != 0) {
        error_ = errno;
        unlink(tempPath_.c_str());
        tempPath_.clear();
        return false;
    }
    tempPath_.clear();
    ReleaseLock();
    return true;
}

void FileWriter::ReleaseLock() {
    if (lockFd_ >= 0) close(lockFd_);
    lockFd_ = -1;
}

void FileWriter::Abandon() {
    finished_ = false;
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!tempPath_.empty()) {
        unlink(tempPath_.c_str());
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
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    char buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
    const bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

}  // namespace belvaron
