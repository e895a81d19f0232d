#pragma once

// Messages of the REPLACE list: its application (E:206 ... E:233) and its
// box in the main window (E:105, E:110, E:115).
namespace belvaron::msg {

inline constexpr const char* kE206 =
    "(E:206)\nREPLACE.dat - Datei konnte nicht geöffnet werden!\n"
    "Schreiben Sie bitte zuerst Einträge in die Liste.";
inline constexpr const char* kE207 =
    "(E:207)\nREPLACE.DAT - (QB-Konto=%d) Soll-Konto ist 0 oder nicht vorhanden!\n"
    "Bitte ändern sie die Datei replace.dat.\nDer Vorgang wird abgebrochen!";
inline constexpr const char* kE208 =
    "(E:208)\nREPLACE.DAT - (QB-Konto=%d) Haben-Konto ist 0 oder nicht vorhanden!\n"
    "Bitte ändern sie die Datei replace.dat.\nDer Vorgang wird abgebrochen!";
inline constexpr const char* kE233 =
    "(E:233)\nEs können maximal 1000 Zeilen der Replace-Datei eingelesen werden!\n"
    "Kürzen Sie bitte die Datei und versuchen es erneut.";
inline constexpr const char* kReplaceSummary =
    "Insgesamt wurden ersetzt:\n%d SOLL-Konten\n%d HABEN-Konten";

// The file could not be created (folder missing or not writable).
inline constexpr const char* kE105 = "(E:105)\nREPLACE.dat - Datei konnte nicht geöffnet werden!";
// The new file could not be written completely (disk full, folder vanished);
// the old file is still in place.
inline constexpr const char* kE105Incomplete =
    "(E:105)\nREPLACE.dat - Datei konnte nicht vollständig geschrieben werden!\n"
    "Die bisherige Datei ist unverändert. Prüfen Sie bitte den freien Platz und die\n"
    "Schreibrechte im Daten-Ordner und speichern Sie erneut.";
inline constexpr const char* kE110Replace =
    "(E:110#%d)\nException: Fehler beim Ersetzen der Konten.";
inline constexpr const char* kE115 = "(E:115#%d)\nException: Fehler beim Öffnen der Replace-Datei.";
inline constexpr const char* kSaveReplaceQuestion = "Änderungen in der REPLACE-Liste speichern?";
inline constexpr const char* kClearReplaceQuestion =
    "Wollen Sie wirklich die gesamte REPLACE-Liste löschen?";

inline constexpr const char* kReplaceFileName = "replace.dat";

}  // namespace belvaron::msg
