#include "core/update/InstallerFile.h"

#include <cerrno>

#include "core/platform/Files.h"

namespace belvaron {

std::string TempFolder() { return platform::TempFolder(); }

std::FILE* CreateDownloadFile(const std::string& folder, const std::string& fileName,
                              std::string& path) {
    const auto dot = fileName.rfind('.');
    const std::string stem = dot == std::string::npos ? fileName : fileName.substr(0, dot);
    const std::string extension = dot == std::string::npos ? "" : fileName.substr(dot);
    std::string pattern = platform::JoinPath(folder, stem + "-XXXXXX" + extension);
    std::FILE* file = platform::CreateUniqueFile(pattern, extension.size(), {}, true);
    if (file) path = pattern;
    return file;
}

bool WriteAll(std::FILE* file, const char* data, std::size_t size) {
    if (size == 0) return true;
    errno = 0;
    if (std::fwrite(data, 1, size, file) == size) return true;
    if (errno == 0) errno = EIO;
    return false;
}

int StartProgram(const std::string& path, platform::ProcessId& id) {
    return platform::StartProgram(path, id);
}

}  // namespace belvaron
