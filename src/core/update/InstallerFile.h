#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#include "core/platform/System.h"

namespace belvaron {

// The temporary folder without a final separator (the platform's: $TMPDIR,
// else "/tmp"; on Windows the system's temporary path).
std::string TempFolder();

// Creates a new file for a download in `folder`, named after `fileName`
// with six random characters before its extension ("setup_x.exe" gives
// "setup_x-Ab12Cd.exe"), exclusively and readable and writable only by
// the user. Returns the file open for binary writing and sets `path`; null
// with errno set on failure.
std::FILE* CreateDownloadFile(const std::string& folder, const std::string& fileName,
                              std::string& path);

// Writes all bytes; false with errno set on failure.
bool WriteAll(std::FILE* file, const char* data, std::size_t size);

// Starts the program file `path` without a shell, with no arguments and
// the program's environment. 0 on success with `id` set, else the errno of
// the failure (also when the file cannot be executed).
int StartProgram(const std::string& path, platform::ProcessId& id);

}  // namespace belvaron
