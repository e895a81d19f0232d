#pragma once

#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <csignal>

namespace belvaron::test {

#ifdef _WIN32
// Windows has no file-size limit: tests that need one are skipped there
// (BELVARON_POSIX_ONLY); this stand-in only lets them compile.
class FileSizeLimit {
public:
    explicit FileSizeLimit(unsigned long long) {}
};
#else

// For the life of the object, writes beyond `bytes` fail with EFBIG as on a
// full disk (also for root, unlike permissions). SIGXFSZ is ignored meanwhile.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_{};
    void (*previousHandler_)(int) = nullptr;
};
#endif

}  // namespace belvaron::test
