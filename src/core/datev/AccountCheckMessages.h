#pragma once

// Messages and texts of the DATEV account check ("Konten überprüfen").
namespace belvaron::msg {

inline constexpr const char* kE109 = "(E:109#%d)\nException: Fehler beim Überprüfen der Konten.";
inline constexpr const char* kE306 = "(E:306)\n%s konnte nicht geöffnet werden!";
inline constexpr const char* kE307 =
    "(E:307)\nKonto_Ueberpruefung.txt konnte nicht geöffnet werden!";
// The report file was created but could not be written completely.
inline constexpr const char* kE307Incomplete =
    "(E:307)\nKonto_Ueberpruefung.txt konnte nicht vollständig geschrieben werden!\n"
    "Prüfen Sie bitte den freien Platz und die Schreibrechte im Daten-Ordner.";
inline constexpr const char* kE308 = "(E:308)\nREPLACE.dat - Datei konnte nicht geöffnet werden!";
inline constexpr const char* kE311 = "(E:311)\nEs konnte nicht genug Speicher allokiert werden";
inline constexpr const char* kE312 =
    "(E:312)\nEin Konto hat die maximale Grösse (%d) überschritten (Soll=%d, Haben=%d).\n"
    "Die Überprüfung wird abgebrochen.";
inline constexpr const char* kProposalQuestion =
    "Soll ich einen Vorschlag für die REPLACE-Liste machen?";
inline constexpr const char* kReportFileName = "Konto_Ueberpruefung.txt";

// The report, section by section.
inline constexpr const char* kReportTitle =
    "Die Überprüfung auf Kompatibilität mit dem DATEV-Kontorahmen ergab folgendes:\n\n";
inline constexpr const char* kReportOk = " OK  :-)\n\n";
inline constexpr const char* kReportMissingHead =
    "1. Überprüfung auf nicht existierende Konten bei Datev:\n";
inline constexpr const char* kReportMissingHelp =
    "\nLösung: Die genannten Konten existieren bei Datev nicht und müssen\n"
    "        - entweder vom Steuerberater neu angelegt werden\n"
    "        - oder hier im Programm durch die REPLACE-Funktion ersetzt werden.\n\n";
inline constexpr const char* kReportCollectiveHead = "2. Überprüfung auf Datev-Sammelkonten:\n";
inline constexpr const char* kReportCollectiveHelp =
    "\nLösung: Auf die genannten Konten darf nicht direkt gebucht werden,\n"
    "        weil dort alle Unterkonten gesammelt werden.\n"
    "        Ersetzen sie diese Konten hier im Programm mit der REPLACE-Funktion\n"
    "        durch ein entsprechendes Unterkonto.\n\n";
inline constexpr const char* kReportReservedHead = "3. Überprüfung auf reservierte Datevkonten:\n";
inline constexpr const char* kReportReservedHelp =
    "\nLösung: Die genannten Konten sind bei Datev für spätere Erweiterungen\n"
    "        reserviert und dürfen nicht bebucht werden.\n"
    "        Ersetzen sie diese Konten hier im Programm mit der REPLACE-Funktion\n"
    "        durch ein freies Konto.\n\n";
inline constexpr const char* kReportAutomaticHead = "4. Überprüfung auf Automatik-Konten:\n";
inline constexpr const char* kReportAutomaticHelp =
    "\nLösung: Die genannten Konten sind bei Datev Automatik-Konten\n"
    "        bei denen automatisch eine MwSt-Berechnung erfolgt.\n"
    "        Ersetzen sie diese Konten hier im Programm mit der REPLACE-Funktion\n"
    "        mit dem Datev-Schlüssel '40' zum Abschalten der Automatik-Funktion.\n\n";

// Proposal lines for the REPLACE list.
inline constexpr const char* kProposalAutomaticOff = "%04d, 0, %04d, %04d, 40, 0  (Automatik aus)";
inline constexpr const char* kProposalCheckMeaning =
    "%04d, 0, %04d, %04d, 0, 0  (Konto-Bedeutung prüfen!)";

}  // namespace belvaron::msg
