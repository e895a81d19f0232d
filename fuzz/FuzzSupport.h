#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "../tests/support/FakeUi.h"

namespace belvaron::fuzz {

// One file per process in the temporary folder, rewritten for each input:
// the readers under test take paths.
inline const std::string& InputPath() {
    static const std::string path = [] {
        std::string p = "/tmp/belvaron-fuzz-XXXXXX";
        const int fd = mkstemp(p.data());
        if (fd >= 0) close(fd);
        return p;
    }();
    return path;
}

inline const std::string& WriteInput(const uint8_t* data, std::size_t size) {
    std::FILE* f = std::fopen(InputPath().c_str(), "wb");
    if (f) {
        if (size > 0) std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    return InputPath();
}

}  // namespace belvaron::fuzz
