#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

// File access by UTF-8 paths. Every function takes and returns paths as
// UTF-8 text; on Windows the wide system calls are used underneath, so any
// name the file system allows works. Error codes are errno values.
namespace belvaron::platform {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// True for a character that separates path parts: '/' everywhere, also
// '\' on Windows.
constexpr bool IsPathSeparator(char c) {
#ifdef _WIN32
    return c == '/' || c == '\\';
#else
    return c == '/';
#endif
}

// The position of the last separator in `path`; npos when there is none.
std::size_t LastPathSeparator(std::string_view path);

// `folder` and `name` joined by the platform's separator (none added when
// `folder` is empty or already ends with a separator). An empty `name` gives
// the folder ending with a separator (an empty folder stays empty).
std::string JoinPath(std::string_view folder, std::string_view name);

// A std::filesystem path for a UTF-8 path and back.
std::filesystem::path FsPath(const std::string& utf8);
std::string Utf8Path(const std::filesystem::path& path);

// std::fopen by a UTF-8 path; null with errno set on failure.
std::FILE* OpenFile(const std::string& path, const char* mode);

// Removes a file; false with errno set on failure.
bool RemoveFile(const std::string& path);

// Renames `from` to `to`, replacing an existing file `to`; 0 on success,
// -1 with errno set. On Windows the move is written through to the disk
// before it returns.
int MoveReplacing(const char* from, const char* to);

enum class FileKind {
    Missing,  // nothing of that name (or it cannot be examined)
    Regular,
    Link,  // a symbolic link (only when links are not followed)
    Folder,
    Other,  // FIFO, device, socket
};

// The kind of what stands at `path`; with `followLinks` false a symbolic
// link is reported as Link.
FileKind KindOf(const std::string& path, bool followLinks);

// The file a symbolic link at `path` leads to, as an absolute path; empty
// when it leads nowhere or in a circle.
std::string ResolveLink(const std::string& path);

// True when the existing file at `path` must not be written: no write
// permission in its mode (also for an administrator) or none for this user;
// on Windows its read-only attribute.
bool IsReadOnly(const std::string& path);

// Creates a new file from `pattern`, whose six 'X' before the last
// `suffixLength` characters are replaced by random characters, exclusively
// (never an existing file). `pattern` becomes the name. The file has the
// permissions of the existing file `model` when given and present, else
// those of a plainly created file; with `privateFile`, only the user may
// read and write it. Returns the file opened for binary writing; null with
// errno set on failure (nothing is left behind).
std::FILE* CreateUniqueFile(std::string& pattern, std::size_t suffixLength,
                            const std::string& model = {}, bool privateFile = false);

// Writes the file's buffered bytes and makes the system write them to the
// disk; 0 on success, else errno. A file system that cannot sync counts as
// success.
int FlushToDisk(std::FILE* file);

// Makes the file executable by its user (a no-op where execution does not
// depend on the mode); 0 on success, else errno.
int MakeExecutable(std::FILE* file);

// Marks a file as in use by this process until Release or destruction:
// RemoveUnheldFile leaves it alone meanwhile, and it may still be renamed.
class FileHold {
public:
    FileHold() = default;
    ~FileHold() { Release(); }
    FileHold(const FileHold&) = delete;
    FileHold& operator=(const FileHold&) = delete;

    // False when the file cannot be held (it then stays unmarked).
    bool Hold(const std::string& path);
    void Release();

private:
    std::intptr_t handle_ = -1;
};

// A read-only stream over `bytes`, which must outlive it and stay unchanged
// (on Windows a copy in a temporary file that goes when the stream is
// closed); null with errno set on failure. `bytes` must not be empty.
std::FILE* OpenMemoryStream(std::string& bytes);

// Calls `visit` with the name of every entry of `folder` (no "." or "..").
template <typename Visit>
void ForEachName(const std::string& folder, Visit visit);

// Removes the regular file `path` when no FileHold (of any process) holds
// it; a link, a folder or a held file stays.
void RemoveUnheldFile(const std::string& path);

// An input file opened for reading. Opening never waits (a FIFO without a
// writer is refused at once) and only a regular file is ever read.
class InputHandle {
public:
    enum class Opened { Ok, Missing, NotRegular, Failed };

    InputHandle() = default;
    ~InputHandle();
    InputHandle(const InputHandle&) = delete;
    InputHandle& operator=(const InputHandle&) = delete;

    // Opens `path`, following a symbolic link; on Failed, error() holds errno.
    Opened Open(const std::string& path);
    // The file's size at opening.
    std::uint64_t size() const { return size_; }
    // Reads up to `count` bytes: the count read, 0 at the end, -1 on
    // failure (see error()).
    long long Read(char* buffer, std::size_t count);
    int error() const { return error_; }
    // Hands the open file over to a read stream at the current position;
    // the handle is then closed with the stream. Null when that failed (the
    // handle stays with this object).
    std::FILE* ReleaseAsStream();

private:
    std::intptr_t handle_ = -1;
    std::uint64_t size_ = 0;
    int error_ = 0;
};

// ---------------------------------------------------------------------------

template <typename Visit>
void ForEachName(const std::string& folder, Visit visit) {
    std::error_code ec;
    std::filesystem::directory_iterator it(
        folder.empty() ? std::filesystem::path(".") : FsPath(folder), ec);
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        visit(Utf8Path(it->path().filename()));
    }
}

}  // namespace belvaron::platform
