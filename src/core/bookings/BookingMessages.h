#pragma once

// Messages of the booking store and the journal import.
namespace belvaron::msg {

inline constexpr const char* kE201 = "(E:201)\nSpeicher konnte nicht allokiert werden";
inline constexpr const char* kE211 = "(E:211)\nSpeicher konnte nicht allokiert werden";
inline constexpr const char* kE212 = "(E:212)\nEs konnte nicht genug Speicher allokiert werden";
inline constexpr const char* kE2xx = "(E:2--)\nSpeicher konnte nicht allokiert werden";
inline constexpr const char* kZeroBookingsDeleted =
    "Insgesamt wurden %d NULL-Buchungen gelöscht.";
inline constexpr const char* kNoDocumentsFolder =
    "Der Dokumente-Ordner des Benutzers konnte nicht ermittelt werden.\n"
    "Die Daten-Dateien (replace.dat, angaben_datev.txt, ...) werden deshalb im Ordner\n%s\n"
    "abgelegt.";

}  // namespace belvaron::msg

// The booking editor's field checks; %1 and %2 stand for the limits.
namespace belvaron::msg {

inline constexpr const char* kEnterInteger = "Geben Sie eine ganze Zahl ein.";
inline constexpr const char* kEnterIntegerBetween = "Geben Sie eine ganze Zahl zwischen %1 und %2 ein.";
inline constexpr const char* kEnterAtMostChars = "Geben Sie höchstens %1 Zeichen ein.";

}  // namespace belvaron::msg
