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
    const fs::path p = platform::FsPath(path);
    return p.has_parent_path() ? platform::Utf8Path(p.parent_path()) : std::string(".");
}

std::string ExecutableFolder() { return platform::ExecutableFolder(); }

std::string ProgramFolderFor(const std::string& exeFolder) {
    std::string shared = exeFolder;
    for (const char* part : {"..", "share", "belvaron", ""})
        shared = platform::JoinPath(shared, part);
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
