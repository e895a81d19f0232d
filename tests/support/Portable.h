#pragma once

// What tests need from the system, the same on POSIX systems and Windows.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "core/platform/Files.h"

#ifdef _WIN32
#include <stdlib.h>
#else
#include <sys/stat.h>
#endif

namespace belvaron::test {

// Sets or (value null) removes an environment variable of this process.
inline void SetEnv(const char* name, const char* value) {
#ifdef _WIN32
    // Wide, so that UTF-8 values arrive as such.
    const auto wide = [](const char* utf8) { return platform::FsPath(utf8).wstring(); };
    _wputenv_s(wide(name).c_str(), wide(value ? value : "").c_str());
#else
    if (value) {
        setenv(name, value, 1);
    } else {
        unsetenv(name);
    }
#endif
}

// Creates a FIFO; false where there are none (Windows).
inline bool MakeFifo(const std::string& path) {
#ifdef _WIN32
    (void)path;
    return false;
#else
    return mkfifo(path.c_str(), 0600) == 0;
#endif
}

// The separator the program puts between a folder and a name.
inline constexpr char kSep = platform::kPathSeparator;

#ifdef _WIN32
inline constexpr bool kOnWindows = true;
#else
inline constexpr bool kOnWindows = false;
#endif

}  // namespace belvaron::test

// Skips the running test on Windows, where what it needs does not exist
// (FIFOs, device files, file-size limits, POSIX permissions, signals).
#define BELVARON_POSIX_ONLY(reason)                         \
    if (::belvaron::test::kOnWindows) {                     \
        GTEST_SKIP() << "needs a POSIX system: " << reason; \
    }
