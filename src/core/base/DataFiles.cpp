#include "core/base/DataFiles.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "core/base/FileWriter.h"

namespace belvaron {

namespace fs = std::filesystem;

namespace {

std::optional<std::string> HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return std::string(home);
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir && *pw->pw_dir) {
        return std::string(pw->pw_dir);
    }
    return std::nullopt;
}

// XDG_DOCUMENTS_DIR from user-dirs.dirs: XDG_DOCUMENTS_DIR="$HOME/Dokumente"
std::optional<std::string> XdgDocumentsDir(const std::string& home) {
    std::string config;
    if (const char* c = std::getenv("XDG_CONFIG_HOME"); c && *c) {
        config = c;
    } else {
        config = home + "/.config";
    }
    std::ifstream in(config + "/user-dirs.dirs");
    std::string line;
    while (std::getline(in, line)) {
        const std::string key = "XDG_DOCUMENTS_DIR=";
        if (line.rfind(key, 0) != 0) continue;
        std::string value = line.substr(key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
            value = value.substr(1, value.size() - 2);
        }
        if (value.rfind("$HOME", 0) == 0) value = home + value.substr(5);
        if (value.empty() || value.front() != '/') return std::nullopt;
        // "$HOME/" alone means the desktop is disabled; use the default.
        if (value == home || value == home + "/") return std::nullopt;
        return value;
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> DocumentsFolder() {
    const auto home = HomeFolder();
    if (!home) return std::nullopt;
    if (auto xdg = XdgDocumentsDir(*home)) return xdg;
    return *home + "/Documents";
}

std::optional<std::string> UserDataFolder(bool create) {
    const auto documents = DocumentsFolder();
    if (!documents) return std::nullopt;
    const std::string folder = *documents + "/Belvaron";
    if (create && !DirectoryExists(folder)) MakeDirectories(folder);
    return folder;
}

std::string FallbackDataFolder() {
    std::error_code ec;
    const fs::path cwd = fs::current_path(ec);
    if (ec || cwd.empty()) return "Belvaron";
    return (cwd / "Belvaron").string();
}

std::string FolderOfPath(const std::string& path) {
    const auto pos = path.rfind('/');
    if (pos == std::string::npos || pos == 0) return path;
    return path.substr(0, pos);
}

std::string ExecutableFolder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec || !exe.has_parent_path()) return {};
    std::string folder = exe.parent_path().string();
    if (folder.back() != '/') folder += '/';
    return folder;
}

std::string ProgramFolderFor(const std::string& exeFolder) {
    const std::string shared = exeFolder + "../share/belvaron/";
    if (DirectoryExists(shared)) return shared;
    return exeFolder;
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::exists(path, ec);
}

bool DirectoryExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_directory(path, ec);
}

bool MakeDirectories(const std::string& path) {
    if (path.empty()) return false;
    std::error_code ec;
    fs::create_directories(path, ec);
    return DirectoryExists(path);
}

bool CopyFileBytes(const std::string& from, const std::string& to) {
    std::string bytes;
    if (!ReadWholeFile(from, bytes)) return false;
    return WriteFileReplacing(to, bytes);
}

}  // namespace belvaron
