#pragma once

#include <string>
#include <string_view>

namespace belvaron {

// Files and booking texts are Windows-1252 bytes; the screen shows UTF-8;
// the DATEV booking text goes out in the OEM code page 850.

// Windows-1252 bytes to UTF-8. The five unassigned bytes (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) map to the C1 control characters of the same value.
std::string Cp1252ToUtf8(std::string_view bytes);
// The same appended to `out`, for long texts built in parts.
void AppendCp1252AsUtf8(std::string& out, std::string_view bytes);

// UTF-8 to Windows-1252. A character without a Windows-1252 equivalent, and
// a malformed sequence, become '?'.
std::string Utf8ToCp1252(std::string_view utf8);

// Windows-1252 to code page 850, byte for byte (same length). A byte whose
// character code page 850 lacks becomes '?'.
std::string Cp1252ToCp850(std::string_view bytes);

// How an input text was turned into Windows-1252 bytes.
struct Cp1252Conversion {
    enum class Source { Windows1252, Utf8, Utf16 };
    Source source = Source::Windows1252;  // Windows1252: the bytes were left as they were
    int unmappable = 0;                   // characters without a Windows-1252 equivalent, now '?'
};

// Converts an input text in place: UTF-16 with its byte-order mark (either
// byte order), and valid UTF-8 that has a non-ASCII character or a
// byte-order mark, become Windows-1252 (the mark dropped; a character
// without an equivalent becomes '?' and is counted). Anything else, also
// text that is not valid UTF-8, stays the bytes it is.
Cp1252Conversion ConvertTextToCp1252(std::string& bytes);

// True when `start`, the first bytes of a text, already decides that
// ConvertTextToCp1252 leaves the whole text as it is, whatever follows: it
// has no UTF-16 byte-order mark and holds a byte sequence that is not UTF-8
// and lies wholly inside `start`. False when only more bytes can tell.
bool StartKeepsWindows1252(std::string_view start);

}  // namespace belvaron
