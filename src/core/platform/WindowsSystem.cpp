#include <windows.h>
// After windows.h:
#include <knownfolders.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <cwchar>

#include "core/platform/Files.h"
#include "core/platform/System.h"
#include "core/platform/WindowsText.h"

namespace belvaron::platform {

namespace {

std::optional<std::string> KnownFolder(REFKNOWNFOLDERID id) {
    PWSTR path = nullptr;
    std::optional<std::string> result;
    if (SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &path) == S_OK && path && *path) {
        result = Utf8(path);
    }
    CoTaskMemFree(path);
    return result;
}

std::string WithoutFinalSeparator(std::string folder) {
    while (folder.size() > 3 && IsPathSeparator(folder.back())) folder.pop_back();
    return folder;
}

std::wstring ModuleFileName() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) {
            buffer.resize(n);
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

std::optional<std::string> Environment(const char* name) {
    const wchar_t* value = _wgetenv(Wide(name).c_str());
    if (!value || !*value) return std::nullopt;
    return Utf8(value);
}

std::optional<std::string> DocumentsFolder() { return KnownFolder(FOLDERID_Documents); }

std::string ConfigFolder() {
    if (auto appData = Environment("APPDATA")) return WithoutFinalSeparator(*appData);
    if (auto roaming = KnownFolder(FOLDERID_RoamingAppData)) return *roaming;
    return ".";
}

std::string TempFolder() {
    wchar_t buffer[MAX_PATH + 2] = {};
    const DWORD n = GetTempPathW(MAX_PATH + 1, buffer);
    if (n == 0 || n > MAX_PATH + 1) return ".";
    return WithoutFinalSeparator(Utf8(std::wstring_view(buffer, n)));
}

std::string ExecutableFolder() {
    const std::string exe = Utf8(ModuleFileName());
    const std::size_t slash = LastPathSeparator(exe);
    if (slash == std::string::npos) return {};
    return exe.substr(0, slash + 1);
}

// Reserved and committed at once: the system provides zeroed pages on first
// touch; only the commit charge is taken up front.
void* ReserveMemory(std::size_t bytes) {
    return VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void ReleaseMemory(void* memory, std::size_t) {
    if (memory) VirtualFree(memory, 0, MEM_RELEASE);
}

// Windows has no call that faults in committed anonymous pages ahead of use.
void CommitMemory(void*, std::size_t) {}

int StartProgram(const std::string& path, ProcessId& id) {
    const std::wstring program = Wide(path);
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        const int error = ErrnoFromWindowsError(GetLastError());
        return error;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    id = static_cast<ProcessId>(process.dwProcessId);
    return 0;
}

// The handles were closed at the start: nothing remains to collect.
void ReleaseProcess(ProcessId) {}

// Windows has neither SIGPIPE nor SIGXFSZ: such writes fail with errno.
void IgnoreWriteSignals() {}

void PrepareConsole() { SetConsoleOutputCP(CP_UTF8); }

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide) return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i) args.push_back(Utf8(wide[i]));
    LocalFree(wide);
    return args;
}

std::optional<std::string> ProgramVersionString(const char* key, unsigned translation) {
    const std::wstring exe = ModuleFileName();
    if (exe.empty()) return std::nullopt;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
    if (size == 0) return std::nullopt;
    std::string data(size, '\0');
    if (!GetFileVersionInfoW(exe.c_str(), 0, size, data.data())) return std::nullopt;
    wchar_t query[64];
    std::swprintf(query, 64, L"\\StringFileInfo\\%08X\\%ls", translation, Wide(key).c_str());
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), query, &value, &length) || !value || length == 0) {
        return std::nullopt;
    }
    std::wstring_view text(static_cast<const wchar_t*>(value), length);
    while (!text.empty() && text.back() == L'\0') text.remove_suffix(1);
    if (text.empty()) return std::nullopt;
    return Utf8(text);
}

bool ToCalendarTime(long long seconds, bool utc, CalendarTime& out) {
    const __time64_t t = seconds;
    std::tm tm{};
    if ((utc ? _gmtime64_s(&tm, &t) : _localtime64_s(&tm, &t)) != 0) return false;
    out = {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
    return true;
}

}  // namespace belvaron::platform
