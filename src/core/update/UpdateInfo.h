#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/base/Sha256.h"

namespace belvaron {

// What the update information file says, as bytes of the file.
struct UpdateInfo {
    std::string serverVersion;  // the newest entry's version, trimmed
    std::string history;        // the entries newer than the installed one, LF as CR LF
};

// Reads the update information file. After the first "Programmhistory" the
// newest entry's header holds the product name, the version and ":"; the
// history runs from nine characters before that product name to nine
// characters before the installed version's entry (product name, blank,
// `installedVersion` exactly, ":"), or to nine characters before the end of
// the text when that entry is missing. nullopt when "Programmhistory", the
// product name after it or the ":" after that is missing.
std::optional<UpdateInfo> ParseUpdateInfo(std::string_view text, std::string_view productName,
                                          std::string_view installedVersion);

// The installer's SHA-256 as the information file may state it, on a line
// of its own in the form that "sha256sum --tag" writes:
//   SHA256 (setup_belvaron.exe) = <64 hexadecimal digits>
// Lines for other file names are ignored.
struct InstallerDigest {
    enum class State { Absent, Given, Malformed };
    State state = State::Absent;  // Malformed: a line for this file without a valid digest
    Sha256Digest digest{};
};
InstallerDigest FindInstallerDigest(std::string_view text, std::string_view setupFileName);

}  // namespace belvaron
