#include "core/base/InputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "core/base/ErrnoText.h"
#include "core/base/Format.h"

namespace belvaron {

namespace {

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

InputFile Failure(InputStatus status, int error = 0) { return {status, error, {}}; }

}  // namespace

InputFile ReadInputFile(const std::string& path, std::size_t maxBytes) {
    if (path.empty()) return Failure(InputStatus::Missing);
    // O_NONBLOCK: opening a FIFO without a writer must not wait.
    const Fd fd(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) {
        const int error = errno;
        if (error == ENOENT) return Failure(InputStatus::Missing);
        if (error == ENXIO) return Failure(InputStatus::NotRegular);  // socket or FIFO
        return Failure(InputStatus::Failed, error);
    }
    struct stat st {};
    if (fstat(fd.get(), &st) != 0) return Failure(InputStatus::Failed, errno);
    if (!S_ISREG(st.st_mode)) return Failure(InputStatus::NotRegular);
    if (static_cast<unsigned long long>(st.st_size) > maxBytes) {
        return Failure(InputStatus::TooLarge);
    }
    InputFile result{InputStatus::Read, 0, {}};
    result.bytes.resize(static_cast<std::size_t>(st.st_size) + 1);
    std::size_t have = 0;
    for (;;) {
        if (have == result.bytes.size()) {
            if (have > maxBytes) return Failure(InputStatus::TooLarge);
            result.bytes.resize(std::min(have * 2 + 4096, maxBytes + 1));
        }
        const ssize_t n = read(fd.get(), result.bytes.data() + have, result.bytes.size() - have);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return Failure(InputStatus::Failed, errno);
        if (n == 0) break;
        have += static_cast<std::size_t>(n);
    }
    if (have > maxBytes) return Failure(InputStatus::TooLarge);
    result.bytes.resize(have);
    return result;
}

std::string InputFailureReason(const InputFile& file, std::size_t maxBytes) {
    switch (file.status) {
        case InputStatus::Read:
            return {};
        case InputStatus::Missing:
            return "Datei nicht gefunden";
        case InputStatus::NotRegular:
            return "keine normale Datei";
        case InputStatus::TooLarge:
            return Format("größer als %zu MB", maxBytes >> 20);
        case InputStatus::Failed:
            break;
    }
    return ErrnoReason(file.error, ReasonForm::Phrase);
}

}  // namespace belvaron
