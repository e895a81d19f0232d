#pragma once

#include <string>
#include <string_view>

// Helpers of the Windows implementation only.
namespace belvaron::platform {

// UTF-8 to UTF-16 and back (invalid sequences become U+FFFD).
std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

// The errno value closest to a Windows error code (EIO when none fits).
int ErrnoFromWindowsError(unsigned long error);
// Sets errno from GetLastError() and returns it.
int SetErrnoFromLastError();

}  // namespace belvaron::platform
