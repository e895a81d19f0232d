#include <pwd.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <thread>

#include "core/platform/Files.h"
#include "core/platform/System.h"

extern char** environ;

namespace belvaron::platform {

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

std::optional<std::string> HomeFolder() {
    if (auto home = Environment("HOME")) return home;
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir && *pw->pw_dir) {
        return std::string(pw->pw_dir);
    }
    return std::nullopt;
}

// XDG_DOCUMENTS_DIR from user-dirs.dirs: XDG_DOCUMENTS_DIR="$HOME/Dokumente"
std::optional<std::string> XdgDocumentsDir(const std::string& home) {
    const std::string config = Environment("XDG_CONFIG_HOME").value_or(home + "/.config");
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

std::optional<std::string> Environment(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value) return std::nullopt;
    return std::string(value);
}

std::optional<std::string> DocumentsFolder() {
    const auto home = HomeFolder();
    if (!home) return std::nullopt;
    if (auto xdg = XdgDocumentsDir(*home)) return xdg;
    return *home + "/Documents";
}

std::string ConfigFolder() {
    if (auto config = Environment("XDG_CONFIG_HOME")) return *config;
    if (auto home = Environment("HOME")) return *home + "/.config";
    return ".";
}

std::string TempFolder() {
    std::string folder = Environment("TMPDIR").value_or("/tmp");
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

std::string ExecutableFolder() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec || !exe.has_parent_path()) return {};
    std::string folder = exe.parent_path().string();
    if (folder.back() != '/') folder += '/';
    return folder;
}

void* ReserveMemory(std::size_t bytes) {
    void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE,
                   MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (p == MAP_FAILED) return nullptr;
    // Large reservations are filled from the start: huge pages there cut the
    // page faults of a load and the address misses of a sort; the committed
    // memory grows by at most one huge page beyond the use. Only a hint:
    // where the system refuses it, nothing changes.
    if (bytes >= kHugePage) madvise(p, bytes, MADV_HUGEPAGE);
    return p;
}

void ReleaseMemory(void* memory, std::size_t bytes) {
    if (memory) munmap(memory, bytes);
}

void CommitMemory(void* memory, std::size_t bytes) {
#if defined(__linux__)
#ifndef MADV_POPULATE_WRITE
    constexpr int MADV_POPULATE_WRITE = 23;  // Linux 5.14; C libraries before 2.35 lack the name
#endif
    if (!memory || bytes == 0) return;
    // madvise takes whole pages: from the page that holds the first byte.
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto first = reinterpret_cast<std::uintptr_t>(memory);
    const std::uintptr_t start = first / page * page;
    // An older kernel refuses the advice (EINVAL): the pages then come on
    // first touch as before.
    madvise(reinterpret_cast<void*>(start), first + bytes - start, MADV_POPULATE_WRITE);
#else
    (void)memory;
    (void)bytes;
#endif
}

int StartProgram(const std::string& path, ProcessId& id) {
    std::string program = path;
    char* const argv[] = {program.data(), nullptr};
    pid_t pid = 0;
    const int error = posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ);
    if (error == 0) id = pid;
    return error;
}

void ReleaseProcess(ProcessId id) {
    if (id <= 0) return;
    const auto pid = static_cast<pid_t>(id);
    std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
}

void IgnoreWriteSignals() {
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
}

void PrepareConsole() {}

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

std::optional<std::string> ProgramVersionString(const char*, unsigned) { return std::nullopt; }

bool ToCalendarTime(long long seconds, bool utc, CalendarTime& out) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    if (utc ? !gmtime_r(&t, &tm) : !localtime_r(&t, &tm)) return false;
    out = {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
    return true;
}

}  // namespace belvaron::platform
