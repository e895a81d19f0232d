#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/base/Notices.h"
#include "core/datev/DatevSettings.h"

namespace belvaron {

// "angaben_datev.txt": Windows-1252 text, CR LF. Lines 1 to 11 are the
// DATEV-Angaben; lines 12 to 16 carry the export format (0 = DATEV-Format
// CSV, 1 = Postversand), the start of the fiscal year (day, month), the
// chart of accounts ("03"/"04") and the Festschreibung (0/1), line 17 the
// CSV batches (0 = one per fiscal year, 1 = one per month), each as a value,
// two TABs and a comment, so that a reader of the first eleven lines is not
// disturbed.
inline constexpr const char* kDatevSettingsFileName = "angaben_datev.txt";

// The settings as they stand in a settings file returned by LoadDatevSettings
// when the file is missing.
DatevSettings DefaultDatevSettings();

// The file's bytes for `settings`: text fields as stored (up to their
// terminator), numbers in plain decimal.
std::string FormatSettingsFile(const DatevSettings& settings);

// The settings read from a file's bytes. Lines end with CR LF or LF; a line
// longer than 254 characters gives its first 254 and ends the reading.
// Number fields are the leading integer of their line, text fields its
// first characters as they stand. Lines 3 to 11 that are missing read as 0
// or empty text; lines 12 to 17 that are missing give the defaults.
DatevSettings ParseSettingsFile(std::string_view bytes);

// A settings file is a few hundred bytes; a larger one is not read.
inline constexpr std::size_t kMaxDatevSettingsFileBytes = 64 * 1024;

enum class DatevSettingsStatus {
    Read,        // the file was read
    Missing,     // no file: the settings are the defaults
    Unreadable,  // the file exists but cannot be read; it must not be overwritten
};

struct DatevSettingsLoad {
    DatevSettings settings;
    bool read = false;  // status == Read
    DatevSettingsStatus status = DatevSettingsStatus::Missing;
    std::string reason;  // Unreadable: why, as a phrase for the message
};

// Reads the settings file at `path` (an empty path reads as a missing file).
// A folder, FIFO or device at `path`, a file larger than
// kMaxDatevSettingsFileBytes, or one that cannot be opened or read is
// Unreadable; its settings are then the defaults and must not be used for
// an export nor saved over the file. Shows nothing.
DatevSettingsLoad LoadDatevSettings(const std::string& path);

// What an operation on the settings file reports: whether the export may go
// on (or the file was saved), and E:301 when not.
struct DatevSettingsOutcome {
    bool ok = false;
    Notices notices;
};

// For the export run, right after LoadDatevSettings: ok when the export may
// go on (the file was read or is missing); not ok with E:301 naming the file
// and the reason when it is Unreadable.
DatevSettingsOutcome AcceptDatevSettingsLoad(const DatevSettingsLoad& loaded,
                                             const std::string& path);

// Replaces the settings file at `path` only by a complete new one. Not ok
// with E:301 (cannot be opened, or not written completely: the old file
// then stays).
DatevSettingsOutcome SaveDatevSettings(const std::string& path, const DatevSettings& settings);

}  // namespace belvaron
