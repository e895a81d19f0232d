#include "core/update/InstallerFile.h"

#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

extern char** environ;

namespace belvaron {

std::string TempFolder() {
    std::string folder = "/tmp";
    if (const char* env = std::getenv("TMPDIR"); env && *env) folder = env;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

int CreateDownloadFile(const std::string& folder, const std::string& fileName, std::string& path) {
    const auto dot = fileName.rfind('.');
    const std::string stem = dot == std::string::npos ? fileName : fileName.substr(0, dot);
    const std::string extension = dot == std::string::npos ? "" : fileName.substr(dot);
    std::string pattern = folder + "/" + stem + "-XXXXXX" + extension;
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const int fd = mkostemps(buffer.data(), static_cast<int>(extension.size()), O_CLOEXEC);
    if (fd >= 0) path.assign(buffer.data());
    return fd;
}

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

int StartProgram(const std::string& path, pid_t& pid) {
    std::vector<char> program(path.begin(), path.end());
    program.push_back('\0');
    char* const argv[] = {program.data(), nullptr};
    return posix_spawn(&pid, program.data(), nullptr, nullptr, argv, environ);
}

}  // namespace belvaron
