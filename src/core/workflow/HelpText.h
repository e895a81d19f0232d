#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace belvaron {

// The entries of the help file (Windows-1252 bytes): one per line, CR LF or
// LF ending a line, the part after the last line break included (so a file
// ending with a line break, and an empty file, end with an empty entry).
// A line longer than kMaxFieldChars goes on as further entries.
// nullopt when the file cannot be read.
std::optional<std::vector<std::string>> ReadHelpLines(const std::string& path);

// The entry shown when the help file cannot be opened (UTF-8).
inline constexpr const char* kHelpFileMissing = "Die Datei HILFE.TXT konnte nicht geöffnet werden!";

}  // namespace belvaron
