#pragma once

// Messages of the booking store and the journal import.
namespace belvaron::msg {

inline constexpr const char* kE201 = "(E:201)\nSpeicher konnte nicht allokiert werden";
inline constexpr const char* kE211 = "(E:211)\nSpeicher konnte nicht allokiert werden";
inline constexpr const char* kE212 = "(E:212)\nEs konnte nicht genug Speicher allokiert werden";
inline constexpr const char* kZeroBookingsDeleted = "Insgesamt wurden %d NULL-Buchungen gelöscht.";

// Journal import.
inline constexpr const char* kE202 = "(E:202)\n%s - Eingabedatei konnte nicht geöffnet werden!";
inline constexpr const char* kE213 = "(E:213)\n%s - Eingabedatei kann nicht ausgelesen werden!";
inline constexpr const char* kE203 =
    "(E:203)\nIn der Quickbooks-Journal-Datei fehlen folgende Spalten:\n\n%s"
    "\n\nBitte erstellen Sie eine neue korrekte Journal-Datei.";
inline constexpr const char* kE204 =
    "(E:204)\nBereichsüberschreitung: zuviele Zeilen pro Buchung\n"
    "Vermutlich liegt ein Format-Fehler des Buchungs-Journals zugrunde. Bitte gehen sie wie "
    "folgt vor:\n"
    "1) Haben Sie den Berichtstyp: 'Berichte->Buchhaltung&Steuern->Journal' verwendet?\n"
    "2) Verwenden Sie beim Erstellen der Datei den Befehl 'Drucken'-> 'TAB getrennte Datei'? "
    "(NICHT ASCII-Datei verwenden!!!)\n"
    "3) Sieht der Bericht in etwa so aus, wie die mitgelieferte Beispieldatei "
    "'Bsp_QB_Journal.txt'?\n"
    "4) Versuchen Sie die 'kritische' Buchung zu finden, in dem Sie den Berichtszeitraum immer "
    "weiter verkleinern (Fehler 204 muss natürlich immer wieder erscheinen). Ist an dieser "
    "Buchung etwas auffällig?";
inline constexpr const char* kE205 = "(E:205)\nEs konnte nicht genug Speicher allokiert werden";
// %s: the store's capacity, with thousands separators.
inline constexpr const char* kE205Capacity =
    "(E:205)\nDas Journal hat mehr Buchungen, als das Programm fassen kann (höchstens %s).\n"
    "Es wurde nicht geladen. Bitte teilen Sie den Zeitraum in QuickBooks auf und\n"
    "erstellen Sie für jeden Teil ein eigenes Journal.";
inline constexpr const char* kE215 = "(E:215#%d)\nFehler beim Einlesen in Zeile:%d, Buchungsnr:%d";
inline constexpr const char* kE216 = "(E:216#%d)\nFehler beim Zuordnen in Zeile:%d, Buchungsnr:%d";
inline constexpr const char* kE217 =
    "(E:217) ACHTUNG:\nEs wurden %d Buchungen mit Konto 0 gezählt. Dies ist ein unzulässiges "
    "Konto.\nÜberprüfen Sie, ob Sie in Quickbooks 'Kontonummern verwenden' aktiviert haben.\n"
    "Die fehlerhaften Datensätze werden im Fenster markiert dargestellt.\n\n"
    "%d Buchungen wurden geladen.";
inline constexpr const char* kJournalLoaded = "%d Buchungen wurden geladen.";
// A journal that was read to its end without giving a single booking (for
// example a file with nothing but the header line).
inline constexpr const char* kE218 =
    "(E:218)\n%s - In der Journal-Datei wurden keine Buchungen gefunden.\n"
    "Bitte erstellen Sie eine neue Journal-Datei, die Buchungen enthält.";

// The framework's German texts of the dialogs' field checks (booking editor,
// DATEV settings); %1 and %2 stand for the limits.
inline constexpr const char* kNotAnInteger = "Geben Sie eine ganze Zahl ein.";
inline constexpr const char* kIntegerRange = "Geben Sie eine ganze Zahl zwischen %1 und %2 ein.";
inline constexpr const char* kMaxChars = "Geben Sie höchstens %1 Zeichen ein.";
// The booking editor's checks of its date and amount fields.
inline constexpr const char* kNotADate =
    "Geben Sie ein Datum ein, das es im Kalender gibt (TT.MM.JJJJ).";
inline constexpr const char* kNotAnAmount = "Geben Sie einen Betrag wie -1.234,56 ein.";

}  // namespace belvaron::msg
