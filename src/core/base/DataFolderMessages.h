#pragma once

// Messages of the data folders.
namespace belvaron::msg {

inline constexpr const char* kNoDocumentsFolder =
    "Der Dokumente-Ordner des Benutzers konnte nicht ermittelt werden.\n"
    "Die Daten-Dateien (replace.dat, angaben_datev.txt, ...) werden deshalb im Ordner\n%s\n"
    "abgelegt.";

}  // namespace belvaron::msg
