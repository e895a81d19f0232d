#include "core/base/FileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace belvaron {

FileWriter::~FileWriter() { Abandon(); }

bool FileWriter::Open(const std::string& path) {
    Abandon();
    error_ = 0;
    if (path.empty() || path.back() == '/') {
        error_ = ENOENT;
        return false;
    }
    // A symbolic link is followed: the file it names is replaced and the
    // link stays a link.
    path_ = path;
    struct stat st {};
    if (lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* resolved = realpath(path.c_str(), nullptr)) {
            path_ = resolved;
            std::free(resolved);
        }
    }
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
    return true;
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
