#pragma once

// The dialogs' field-check texts (kNotAnInteger, kIntegerRange, kMaxChars)
// are those of the bookings catalogue.
#include "core/bookings/BookingMessages.h"

// Messages of the main window's handlers (E:101 ... E:135).
namespace belvaron::msg {

// Gates: the same text with the handler's own code.
inline constexpr const char* kNoJournal =
    "(E:%d)\nBitte laden sie zuerst eine Journal-Datei (Punkt 3).";
inline constexpr int kGateCheck = 101;      // "Konten überprüfen"
inline constexpr int kGateReplace = 102;    // "Konten ersetzen"
inline constexpr int kGateDatev = 103;      // "DATEN EXPORTIEREN"
inline constexpr int kGateLexware = 104;    // Lexware "Daten exportieren"
inline constexpr int kGateVatReport = 118;  // step 4 "Auswahl"

inline constexpr const char* kE106 = "(E:106#%d)\nException: Fehler beim Einlesen der Datei.";
inline constexpr const char* kE107 = "(E:107#%d)\nException: Fehler beim Sortieren der Daten.";
inline constexpr const char* kE108 = "(E:108#%d)\nException: Fehler beim Anzeigen der Daten.";
inline constexpr const char* kE110Delete =
    "(E:110#%d)\nException: Fehler beim Löschen von Buchungen.";
// Step 4: the VAT detail report and the cash-basis re-dating.
inline constexpr const char* kE119 = "(E:119#%d)\nException: Fehler beim Einlesen der Datei.";
inline constexpr const char* kE120 = "(E:120#%d)\nException: Fehler beim MwSt-IST-Abgleich.";
inline constexpr const char* kE121 = "(E:121#%d)\nException: Fehler beim Sortieren der Daten.";
inline constexpr const char* kE122 = "(E:122#%d)\nException: Fehler beim Anzeigen der Daten.";
inline constexpr const char* kE123 =
    "(E:123)\nFehler: Konten ersetzen wurde vor IST-Besteuerung gemacht!\n"
    "Bitte laden sie zuerst wieder eine Journal-Datei (Punkt 3).";
inline constexpr const char* kE124 =
    "(E:124)\nFehler: Konten wurden für IST-Besteuerung angepasst!\n"
    "Dieser Vorgang kann nicht rückgängig gemacht werden.\n"
    "Bitte laden sie dafür wieder die Journal-Datei (Punkt 3).";
inline constexpr const char* kE135 =
    "(E:135)\nMwSt-Datei wurde schon geladen!\nLaden Sie bitte zuerst wieder das Journal.";
inline constexpr const char* kVatReportFilter = "TXT-Files (*.txt)|*.txt|ALL-Files (*.*)|*.*|";

inline constexpr const char* kQuit = "Wollen Sie das Programm wirklich beenden?";
inline constexpr const char* kQuitUnexported =
    "Die Bearbeitung des Journals wurde noch nicht exportiert.\n"
    "Wollen Sie das Programm wirklich beenden?";
inline constexpr const char* kReloadQuestion =
    "Das geladene Journal wurde bearbeitet (MwSt-Umdatierung, ersetzte Konten,\n"
    "gelöschte oder geänderte Buchungen). Diese Arbeit geht beim Laden verloren.\n"
    "Trotzdem ein Journal laden?";
inline constexpr const char* kReplaceAgainQuestion =
    "Die Konten wurden schon ersetzt. Die REPLACE-Liste wird nun auf die ersetzten\n"
    "Konten angewandt. Trotzdem noch einmal ersetzen?";
// %s: the existing files, one per line.
inline constexpr const char* kOverwriteQuestion =
    "Diese Dateien gibt es schon und werden ersetzt:\n%s\nTrotzdem exportieren?";

inline constexpr const char* kJournalFilter = "TXT-Files (*.txt)|*.txt|ALL-Files (*.*)|*.*|";

// The captions of the progress window of the steps that may run long.
inline constexpr const char* kStepLoad = "Journal wird geladen";
inline constexpr const char* kStepVatReport = "MwSt-Bericht wird abgeglichen";
inline constexpr const char* kStepReplace = "Konten werden ersetzt";
inline constexpr const char* kStepCheck = "Konten werden überprüft";
inline constexpr const char* kStepDatev = "DATEV-Export";
inline constexpr const char* kStepLexware = "Lexware-Export";

}  // namespace belvaron::msg
