#include "core/base/DataFiles.h"

#include <filesystem>
#include <system_error>

#include "core/base/FileWriter.h"
#include "core/platform/Files.h"
#include "core/platform/System.h"

namespace belvaron {

namespace fs = std::filesystem;

std::optional<std::string> DocumentsFolder() { return platform::DocumentsFolder(); }

std::optional<std::string> UserDataFolder(bool create) {
    const auto documents = DocumentsFolder();
    if (!documents) return std::nullopt;
    const std::string folder = platform::JoinPath(*documents, "Belvaron");
    if (create && !DirectoryExists(folder)) MakeDirectories(folder);
    return folder;
}

std::string FallbackDataFolder() {
    std::error_code ec;
    const fs::path cwd = fs::current_path(ec);
    if (ec || cwd.empty()) return "Belvaron";
    return platform::JoinPath(platform::Utf8Path(cwd), "Belvaron");
}

std::string FolderOfPath(const std::string& path) {
    const auto pos = platform::LastPathSeparator(path);
    if (pos == std::string::npos || pos == 0) return path;
    return path.substr(0, pos);
}

std::string ExecutableFolder() { return platform::ExecutableFolder(); }

std::string ProgramFolderFor(const std::string& exeFolder) {
    constexpr char sep = platform::kPathSeparator;
    const std::string shared = exeFolder + ".." + sep + "share" + sep + "belvaron" + sep;
    if (DirectoryExists(shared)) return shared;
    return exeFolder;
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::exists(platform::FsPath(path), ec);
}

bool DirectoryExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_directory(platform::FsPath(path), ec);
}

bool MakeDirectories(const std::string& path) {
    if (path.empty()) return false;
    std::error_code ec;
    fs::create_directories(platform::FsPath(path), ec);
    return DirectoryExists(path);
}

bool CopyFileBytes(const std::string& from, const std::string& to) {
    std::string bytes;
    if (!ReadWholeFile(from, bytes)) return false;
    return WriteFileReplacing(to, bytes);
}

}  // namespace belvaron
