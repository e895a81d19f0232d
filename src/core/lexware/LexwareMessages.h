#pragma once

// Messages of the Lexware Buchhalter export and its handler.
namespace belvaron::msg {

inline constexpr const char* kE209 = "(E:209)\nKeine Datensätze zum eportieren vorhanden!";
inline constexpr const char* kE210 = "(E:210)\n%s - Ausgabedatei konnte nicht geöffnet werden!";
// The files of several years could not be put in place as a whole (%s the
// path, %s the reason); `restored`: the old files are back.
inline constexpr const char* kE210Replace =
    "(E:210)\n%s - Ausgabedatei konnte nicht ersetzt werden!\n"
    "Grund: %s\n"
    "Es wurde keine Datei ersetzt; vorhandene Dateien sind unverändert geblieben.";
inline constexpr const char* kE210Mixed =
    "(E:210)\n%s - Ausgabedatei konnte nicht ersetzt werden!\n"
    "Grund: %s\n"
    "Die bisherigen Dateien ließen sich nicht vollständig zurückholen: im Ordner "
    "können neue und alte Dateien nebeneinander liegen (alte unter *.old-*).";
// Writing or closing the new file failed; the old file (if any) is unchanged.
inline constexpr const char* kE210Write =
    "(E:210)\n%s - Ausgabedatei konnte nicht geschrieben werden!\n"
    "Grund: %s\n"
    "Eine bereits vorhandene Datei dieses Namens ist unverändert geblieben. "
    "Bitte prüfen Sie Speicherplatz und Schreibrechte und exportieren Sie erneut.";
inline constexpr const char* kLexwareDone =
    "Konvertierung erfolgreich!\n%d Buchungen wurden konvertiert.";
// After kLexwareDone when the bookings span several years: one line per file.
inline constexpr const char* kLexwareYearFile = "\nDatei: %s (%d Buchungen)";
inline constexpr const char* kE114 =
    "(E:114#%d)\nException: Fehler beim Speichern der Buchhalter-Datei.";
inline constexpr const char* kLexwareFilter = "TXT-Files (*.txt)|*.txt|ALL-Files (*.*)|*.*|";

}  // namespace belvaron::msg
