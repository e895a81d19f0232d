#pragma once

// Messages of the main window's handlers (E:101 ... E:135).
namespace belvaron::msg {

// Gates: the same text with the handler's own code.
inline constexpr const char* kNoJournal = "(E:%d)\nBitte laden sie zuerst eine Journal-Datei (Punkt 3).";
inline constexpr int kGateCheck = 101;     // "Konten überprüfen"
inline constexpr int kGateReplace = 102;   // "Konten ersetzen"
inline constexpr int kGateDatev = 103;     // "DATEN EXPORTIEREN"
inline constexpr int kGateLexware = 104;   // Lexware "Daten exportieren"
inline constexpr int kGateVatReport = 118; // step 4 "Auswahl"

inline constexpr const char* kE106 = "(E:106#%d)\nException: Fehler beim Einlesen der Datei.";
inline constexpr const char* kE107 = "(E:107#%d)\nException: Fehler beim Sortieren der Daten.";
inline constexpr const char* kE108 = "(E:108#%d)\nException: Fehler beim Anzeigen der Daten.";
inline constexpr const char* kE110Delete = "(E:110#%d)\nException: Fehler beim Löschen von Buchungen.";
inline constexpr const char* kQuit = "Wollen Sie das Programm wirklich beenden?";

inline constexpr const char* kJournalFilter = "TXT-Files (*.txt)|*.txt|ALL-Files (*.*)|*.*|";

}  // namespace belvaron::msg
