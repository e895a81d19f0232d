#include <gtest/gtest.h>

#include "Portable.h"

#ifndef _WIN32
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>

#include "TempDir.h"
#include "core/base/FileWriter.h"
#include "core/base/WriteSignals.h"
#endif

namespace belvaron {
namespace {

#ifdef _WIN32
// Windows has neither SIGXFSZ nor SIGPIPE: such writes fail with errno
// there without any preparation.
TEST(WriteSignals, OnlyPosixSystemsTurnSignalsIntoErrors) {
    BELVARON_POSIX_ONLY("the signals SIGXFSZ and SIGPIPE");
}
#else

// Restores both dispositions after a test.
class WriteSignals : public ::testing::Test {
protected:
    void SetUp() override {
        xfsz_ = std::signal(SIGXFSZ, SIG_DFL);
        pipe_ = std::signal(SIGPIPE, SIG_DFL);
        TurnWriteSignalsIntoErrors();
    }
    void TearDown() override {
        std::signal(SIGXFSZ, xfsz_);
        std::signal(SIGPIPE, pipe_);
    }

private:
    void (*xfsz_)(int) = nullptr;
    void (*pipe_)(int) = nullptr;
};

// Without the call the test process would die by SIGXFSZ here.
TEST_F(WriteSignals, FileSizeLimitBecomesAWriteErrorAndLeavesNoNewFile) {
    test::TempDir dir;
    const std::string path = dir.Write("buchhalter.txt", "old");
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit limit = previous;
    limit.rlim_cur = 1000;
    setrlimit(RLIMIT_FSIZE, &limit);
    int error = 0;
    const bool written = WriteFileReplacing(path, std::string(5000, 'x'), &error);
    setrlimit(RLIMIT_FSIZE, &previous);
    EXPECT_FALSE(written);
    EXPECT_EQ(error, EFBIG);
    EXPECT_EQ(test::ReadFile(path), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

// Without the call the test process would die by SIGPIPE here.
TEST_F(WriteSignals, ClosedPipeBecomesAWriteError) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    close(fds[0]);
    errno = 0;
    EXPECT_EQ(write(fds[1], "line\n", 5), -1);
    EXPECT_EQ(errno, EPIPE);
    close(fds[1]);
}

#endif

}  // namespace
}  // namespace belvaron
