#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "core/platform/Files.h"

namespace belvaron::platform {

std::FILE* OpenFile(const std::string& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

bool RemoveFile(const std::string& path) { return unlink(path.c_str()) == 0; }

int MoveReplacing(const char* from, const char* to) { return std::rename(from, to); }

FileKind KindOf(const std::string& path, bool followLinks) {
    struct stat st {};
    if ((followLinks ? stat(path.c_str(), &st) : lstat(path.c_str(), &st)) != 0) {
        return FileKind::Missing;
    }
    if (S_ISREG(st.st_mode)) return FileKind::Regular;
    if (S_ISLNK(st.st_mode)) return FileKind::Link;
    if (S_ISDIR(st.st_mode)) return FileKind::Folder;
    return FileKind::Other;
}

std::string ResolveLink(const std::string& path) {
    char* resolved = realpath(path.c_str(), nullptr);
    if (!resolved) return {};
    std::string result = resolved;
    std::free(resolved);
    return result;
}

bool IsReadOnly(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return false;
    return (st.st_mode & 0222) == 0 || access(path.c_str(), W_OK) != 0;
}

std::FILE* CreateUniqueFile(std::string& pattern, std::size_t suffixLength,
                            const std::string& model, bool privateFile) {
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const int fd = mkostemps(buffer.data(), static_cast<int>(suffixLength), O_CLOEXEC);
    if (fd < 0) return nullptr;
    pattern.assign(buffer.data());
    // mkostemps makes 0600: an existing model lends its permissions, a plain
    // new file gets those the umask allows.
    struct stat st {};
    if (privateFile) {
        // 0600 already
    } else if (!model.empty() && stat(model.c_str(), &st) == 0) {
        fchmod(fd, st.st_mode & 07777);
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        fchmod(fd, 0666 & ~mask);
    }
    std::FILE* file = fdopen(fd, "wb");
    if (!file) {
        const int error = errno;
        close(fd);
        unlink(pattern.c_str());
        errno = error;
    }
    return file;
}

std::FILE* OpenMemoryStream(std::string& bytes) {
    return fmemopen(bytes.data(), bytes.size(), "rb");
}

int FlushToDisk(std::FILE* file) {
    if (std::fflush(file) != 0) return errno ? errno : EIO;
    if (fsync(fileno(file)) != 0 && errno != EINVAL) return errno;
    return 0;
}

int MakeExecutable(std::FILE* file) { return fchmod(fileno(file), S_IRWXU) == 0 ? 0 : errno; }

bool FileHold::Hold(const std::string& path) {
    Release();
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    flock(fd, LOCK_EX | LOCK_NB);
    handle_ = fd;
    return true;
}

void FileHold::Release() {
    if (handle_ >= 0) close(static_cast<int>(handle_));
    handle_ = -1;
}

void RemoveUnheldFile(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return;
    struct stat st {};
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0) {
        unlink(path.c_str());
    }
    close(fd);
}

InputHandle::~InputHandle() {
    if (handle_ >= 0) close(static_cast<int>(handle_));
}

InputHandle::Opened InputHandle::Open(const std::string& path) {
    // O_NONBLOCK: opening a FIFO without a writer must not wait.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        error_ = errno;
        if (error_ == ENOENT) return Opened::Missing;
        if (error_ == ENXIO) return Opened::NotRegular;  // socket or FIFO
        return Opened::Failed;
    }
    handle_ = fd;
    struct stat st {};
    if (fstat(fd, &st) != 0) {
        error_ = errno;
        return Opened::Failed;
    }
    if (!S_ISREG(st.st_mode)) return Opened::NotRegular;
    size_ = static_cast<std::uint64_t>(st.st_size);
    return Opened::Ok;
}

long long InputHandle::Read(char* buffer, std::size_t count) {
    for (;;) {
        const ssize_t n = read(static_cast<int>(handle_), buffer, count);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) error_ = errno;
        return n;
    }
}

std::FILE* InputHandle::ReleaseAsStream() {
    std::FILE* stream = fdopen(static_cast<int>(handle_), "rb");
    if (stream) handle_ = -1;
    return stream;
}

}  // namespace belvaron::platform
