#pragma once

#include <sys/types.h>

#include <string>

namespace belvaron {

// The temporary folder: $TMPDIR when set and not empty, else "/tmp";
// without a final '/'.
std::string TempFolder();

// Creates a new file for a download in `folder`, named after `fileName`
// with six random characters before its extension ("setup_x.exe" gives
// "setup_x-Ab12Cd.exe"), exclusively and readable and writable only by
// the user. Returns the open descriptor and sets `path`; -1 with errno set
// on failure.
int CreateDownloadFile(const std::string& folder, const std::string& fileName, std::string& path);

// Writes all bytes, resuming after interrupts and short writes; false with
// errno set on failure.
bool WriteAll(int fd, const char* data, std::size_t size);

// Starts the program file `path` without a shell, with no arguments and
// the program's environment. 0 on success with `pid` set, else the errno
// of the failure (also when the file cannot be executed).
int StartProgram(const std::string& path, pid_t& pid);

}  // namespace belvaron
