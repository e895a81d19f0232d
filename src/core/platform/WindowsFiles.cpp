#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <random>

#include "core/platform/Files.h"
#include "core/platform/WindowsText.h"

namespace belvaron::platform {

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HANDLE AsHandle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

// Six characters for a unique name, from a generator seeded once per process.
void FillRandom(std::string& text, std::size_t at) {
    static constexpr char kChars[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static std::mt19937_64 generator(
        std::random_device{}() ^ GetTickCount64() ^
        (static_cast<unsigned long long>(GetCurrentProcessId()) << 32));
    for (std::size_t i = 0; i < 6; ++i) text[at + i] = kChars[generator() % (sizeof kChars - 1)];
}

// A handle of an open file (not a folder, never waiting for a pipe); its kind.
FileKind KindOfHandle(HANDLE file) {
    if (GetFileType(file) != FILE_TYPE_DISK) return FileKind::Other;
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file, &info)) return FileKind::Missing;
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return FileKind::Folder;
    return FileKind::Regular;
}

}  // namespace

std::FILE* OpenFile(const std::string& path, const char* mode) {
    return _wfopen(Wide(path).c_str(), Wide(mode).c_str());
}

bool RemoveFile(const std::string& path) {
    if (DeleteFileW(Wide(path).c_str())) return true;
    SetErrnoFromLastError();
    return false;
}

int MoveReplacing(const char* from, const char* to) {
    if (MoveFileExW(Wide(from).c_str(), Wide(to).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return 0;
    }
    SetErrnoFromLastError();
    return -1;
}

FileKind KindOf(const std::string& path, bool followLinks) {
    const std::wstring wide = Wide(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return FileKind::Missing;
    if (!followLinks && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return FileKind::Link;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return FileKind::Folder;
    // Device names ("NUL", "COM1") have attributes too: only a file on a
    // disk is regular.
    const HANDLE file = CreateFileW(wide.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return FileKind::Other;
    const FileKind kind = KindOfHandle(file);
    CloseHandle(file);
    return kind;
}

std::string ResolveLink(const std::string& path) {
    const HANDLE file = CreateFileW(Wide(path).c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::wstring buffer(MAX_PATH, L'\0');
    DWORD n = GetFinalPathNameByHandleW(file, buffer.data(), static_cast<DWORD>(buffer.size()), 0);
    if (n >= buffer.size()) {
        buffer.resize(n + 1);
        n = GetFinalPathNameByHandleW(file, buffer.data(), static_cast<DWORD>(buffer.size()), 0);
    }
    CloseHandle(file);
    if (n == 0 || n >= buffer.size()) return {};
    buffer.resize(n);
    if (buffer.starts_with(L"\\\\?\\UNC\\")) {
        buffer = L"\\\\" + buffer.substr(8);
    } else if (buffer.starts_with(L"\\\\?\\")) {
        buffer = buffer.substr(4);
    }
    return Utf8(buffer);
}

bool IsReadOnly(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

// Permissions come from the folder's inherited access rules; a model file
// or `privateFile` changes nothing (the temporary folder is the user's own).
std::FILE* CreateUniqueFile(std::string& pattern, std::size_t suffixLength, const std::string&,
                            bool) {
    if (pattern.size() < suffixLength + 6) {
        errno = EINVAL;
        return nullptr;
    }
    const std::size_t at = pattern.size() - suffixLength - 6;
    if (pattern.compare(at, 6, "XXXXXX") != 0) {
        errno = EINVAL;
        return nullptr;
    }
    std::string name = pattern;
    for (int attempt = 0; attempt < 100; ++attempt) {
        FillRandom(name, at);
        const HANDLE file = CreateFileW(Wide(name).c_str(), GENERIC_WRITE, kShareAll, nullptr,
                                        CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
            errno = ErrnoFromWindowsError(error);
            return nullptr;
        }
        const int fd = _open_osfhandle(reinterpret_cast<std::intptr_t>(file), _O_BINARY);
        std::FILE* stream = fd < 0 ? nullptr : _fdopen(fd, "wb");
        if (!stream) {
            const int error = errno ? errno : EIO;
            if (fd >= 0) {
                _close(fd);
            } else {
                CloseHandle(file);
            }
            DeleteFileW(Wide(name).c_str());
            errno = error;
            return nullptr;
        }
        pattern = name;
        return stream;
    }
    errno = EEXIST;
    return nullptr;
}

// Windows has no memory streams: the bytes go to a temporary file that the
// system deletes when its last handle closes.
std::FILE* OpenMemoryStream(std::string& bytes) {
    wchar_t folder[MAX_PATH + 2] = {};
    const DWORD n = GetTempPathW(MAX_PATH + 1, folder);
    if (n == 0 || n > MAX_PATH + 1) {
        errno = ENOENT;
        return nullptr;
    }
    std::string pattern = JoinPath(Utf8(std::wstring_view(folder, n)), "belvaron-XXXXXX.tmp");
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = pattern;
        FillRandom(name, name.size() - 10);
        const HANDLE file =
            CreateFileW(Wide(name).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                        FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            const DWORD error = GetLastError();
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
            errno = ErrnoFromWindowsError(error);
            return nullptr;
        }
        std::size_t written = 0;
        while (written < bytes.size()) {
            const DWORD chunk =
                static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, 1u << 30));
            DWORD done = 0;
            if (!WriteFile(file, bytes.data() + written, chunk, &done, nullptr) || done == 0) {
                SetErrnoFromLastError();
                CloseHandle(file);
                return nullptr;
            }
            written += done;
        }
        if (SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) {
            SetErrnoFromLastError();
            CloseHandle(file);
            return nullptr;
        }
        const int fd =
            _open_osfhandle(reinterpret_cast<std::intptr_t>(file), _O_BINARY | _O_RDONLY);
        if (fd < 0) {
            CloseHandle(file);
            return nullptr;
        }
        std::FILE* stream = _fdopen(fd, "rb");
        if (!stream) _close(fd);
        return stream;
    }
    errno = EEXIST;
    return nullptr;
}

int FlushToDisk(std::FILE* file) {
    if (std::fflush(file) != 0) return errno ? errno : EIO;
    const HANDLE handle = AsHandle(_get_osfhandle(_fileno(file)));
    if (handle == INVALID_HANDLE_VALUE) return EBADF;
    if (!FlushFileBuffers(handle)) {
        const DWORD error = GetLastError();
        // A console or a pipe cannot be flushed to a disk.
        if (error == ERROR_INVALID_HANDLE || error == ERROR_INVALID_FUNCTION) return 0;
        return ErrnoFromWindowsError(error);
    }
    return 0;
}

int MakeExecutable(std::FILE*) { return 0; }

// Opened with every sharing mode, so that the file can still be written,
// renamed and replaced; RemoveUnheldFile's exclusive open fails meanwhile.
bool FileHold::Hold(const std::string& path) {
    Release();
    const HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, kShareAll, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    handle_ = reinterpret_cast<std::intptr_t>(file);
    return true;
}

void FileHold::Release() {
    if (handle_ != -1) CloseHandle(AsHandle(handle_));
    handle_ = -1;
}

// An exclusive open (no sharing at all) fails while any handle of the file
// is open, a FileHold's included; the file goes when this handle closes.
void RemoveUnheldFile(const std::string& path) {
    const std::wstring wide = Wide(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))) {
        return;
    }
    const HANDLE file =
        CreateFileW(wide.c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                    FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

InputHandle::~InputHandle() {
    if (handle_ != -1) CloseHandle(AsHandle(handle_));
}

InputHandle::Opened InputHandle::Open(const std::string& path) {
    const std::wstring wide = Wide(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return Opened::NotRegular;
    }
    const HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_PIPE_BUSY) return Opened::NotRegular;
        error_ = ErrnoFromWindowsError(error);
        return error_ == ENOENT ? Opened::Missing : Opened::Failed;
    }
    handle_ = reinterpret_cast<std::intptr_t>(file);
    if (KindOfHandle(file) != FileKind::Regular) return Opened::NotRegular;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size)) {
        error_ = SetErrnoFromLastError();
        return Opened::Failed;
    }
    size_ = static_cast<std::uint64_t>(size.QuadPart);
    return Opened::Ok;
}

long long InputHandle::Read(char* buffer, std::size_t count) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
    DWORD n = 0;
    if (!ReadFile(AsHandle(handle_), buffer, chunk, &n, nullptr)) {
        error_ = SetErrnoFromLastError();
        return -1;
    }
    return n;
}

std::FILE* InputHandle::ReleaseAsStream() {
    const int fd = _open_osfhandle(handle_, _O_RDONLY | _O_BINARY);
    if (fd < 0) return nullptr;
    handle_ = -1;  // closed with `fd` from now on
    std::FILE* stream = _fdopen(fd, "rb");
    if (!stream) _close(fd);
    return stream;
}

}  // namespace belvaron::platform
