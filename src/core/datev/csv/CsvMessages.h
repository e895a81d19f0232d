#pragma once

// Messages of the DATEV-Format (CSV) export. Codes:
//   E:313  the checks found errors; the export stops, no file is written
//   E:314  the checks found things to look at; the export goes on
//   E:315  a batch file could not be written
// The success message and E:117 end the export run as for the Postversand files.
namespace belvaron::msg::csv {

// ---- E:313: errors, one message listing them ----
inline constexpr const char* kE313Head =
    "(E:313)\nDer DATEV-Export wurde abgebrochen, es wurde keine Datei geschrieben.\n"
    "Bitte beheben Sie zuerst diese Fehler:";
// After the listed lines, when more problems were found than listed.
inline constexpr const char* kMore = "… (%d weitere)";
inline constexpr const char* kAlsoWarnings = "Außerdem zu beachten:";

// Settings and range.
inline constexpr const char* kBerater = "Beraternummer %d liegt nicht zwischen 1001 und 9999999.";
inline constexpr const char* kMandant = "Mandantennummer %d liegt nicht zwischen 1 und 99999.";
inline constexpr const char* kLength = "Kontonummernlänge %d liegt nicht zwischen 4 und 8.";
inline constexpr const char* kWjBeginn =
    "Beginn des Wirtschaftsjahres %02d.%02d. ist kein gültiger Tag.";
inline constexpr const char* kRahmen =
    "Sachkontenrahmen \"%s\" ist weder 03 (SKR 03) noch 04 (SKR 04).";
inline constexpr const char* kDateFrom = "Datum \"vom\" (%s) ist kein gültiges Datum.";
inline constexpr const char* kDateTo = "Datum \"bis\" (%s) ist kein gültiges Datum.";
inline constexpr const char* kReversed = "Datum \"vom\" (%s) liegt nach dem Datum \"bis\" (%s).";
inline constexpr const char* kNoBookings =
    "Im Zeitraum %s bis %s liegt keine Buchung mit einem Betrag ungleich 0.";

// Bookings (booking number first).
inline constexpr const char* kAccountInvalid =
    "Buchung %d: %s-Konto %d ist keine gültige Kontonummer.";
inline constexpr const char* kAccountTooLong = "Buchung %d: %s-Konto %d hat mehr als %d Stellen.";
inline constexpr const char* kSoll = "Soll";
inline constexpr const char* kHaben = "Haben";
inline constexpr const char* kAmountForm = "Buchung %d: Betrag \"%s\" hat nicht die Form 1.234,56.";
inline constexpr const char* kAmountNotNumber = "Buchung %d: Betrag \"%s\" ist keine Zahl.";
inline constexpr const char* kAmountLarge =
    "Buchung %d: Betrag %s ist größer als 9.999.999.999,99.";
inline constexpr const char* kKeyLarge = "Buchung %d: DATEV-Schlüssel %d hat mehr als 4 Stellen.";
inline constexpr const char* kBookingDate = "Buchung %d: Datum \"%s\" ist kein gültiges Datum.";

// What to do, once per kind of problem found, after the list.
inline constexpr const char* kFixSettings =
    "Beraternummer, Mandantennummer, Kontonummernlänge, Beginn des Wirtschaftsjahres und "
    "Sachkontenrahmen tragen Sie in den DATEV-Angaben ein (die Werte nennt Ihnen Ihr "
    "Steuerberater).";
inline constexpr const char* kFixRange =
    "Den Zeitraum ändern Sie in den DATEV-Angaben unter \"Buchungen: vom ... bis\".";
inline constexpr const char* kFixAccounts =
    "Konten korrigieren Sie mit der REPLACE-Liste (\"Konten ersetzen\") oder im "
    "Buchungseditor (Doppelklick auf die Buchung); Buchungen ohne Konto entfernt "
    "\"'0' Buch. löschen\". Für längere Kontonummern erhöhen Sie die Kontonummernlänge in "
    "den DATEV-Angaben.";
inline constexpr const char* kFixBookings =
    "Betrag, Datum und DATEV-Schlüssel einer Buchung korrigieren Sie im Buchungseditor "
    "(Doppelklick auf die Buchung).";

// ---- E:314: warnings, the export goes on ----
inline constexpr const char* kE314Head =
    "(E:314)\nHinweise zum DATEV-Export (der Export wird fortgesetzt):";
inline constexpr const char* kAutomaticKey =
    "Buchung %d: DATEV-Schlüssel %d auf dem Automatikkonto %d.";
inline constexpr const char* kSameAccount = "Buchung %d: Konto und Gegenkonto sind gleich (%d).";
inline constexpr const char* kChartMismatch =
    "Die Kontenrahmen-Datei %s gehört zu SKR %s, in den DATEV-Angaben ist aber der "
    "Sachkontenrahmen %s eingestellt; die Automatikkonten wurden nicht geprüft.";
inline constexpr const char* kFixAutomatic =
    "Auf Automatikkonten berechnet DATEV die Umsatzsteuer selbst; ein DATEV-Schlüssel "
    "(außer 40) führt dort zu einem Fehler beim Import. Bitte prüfen Sie diese Buchungen und "
    "korrigieren Sie sie mit der REPLACE-Liste oder im Buchungseditor.";
inline constexpr const char* kFixSameAccount =
    "Eine Buchung von einem Konto auf dasselbe Konto hat keine Wirkung; bitte prüfen Sie "
    "die Konten dieser Buchungen.";
inline constexpr const char* kFixChart =
    "Wählen Sie im Hauptfenster die passende Kontenrahmen-Datei oder korrigieren Sie den "
    "Sachkontenrahmen in den DATEV-Angaben.";

// ---- E:315: a file could not be written ----
inline constexpr const char* kE315 =
    "(E:315)\n%s konnte nicht geschrieben werden (%s).\n"
    "Bitte prüfen Sie, ob der Ordner existiert und beschreibbar ist und ob genug freier "
    "Speicherplatz vorhanden ist. Eine vorhandene Datei dieses Namens bleibt unverändert.";

// The batch could not be put in place as a whole (%s the path, %s the reason).
inline constexpr const char* kE315Replace =
    "(E:315)\n%s konnte nicht ersetzt werden (%s).\n"
    "Es wurde keine Datei ersetzt; die bisherigen Dateien des Exports bleiben unverändert.";
inline constexpr const char* kE315Remove =
    "(E:315)\n%s (Teil eines früheren, größeren Exports) konnte nicht entfernt "
    "werden (%s).\n"
    "Es wurde keine Datei ersetzt; die bisherigen Dateien des Exports bleiben unverändert.";
inline constexpr const char* kE315Mixed =
    "(E:315)\n%s konnte nicht ersetzt werden (%s), und die bisherigen Dateien ließen "
    "sich nicht vollständig zurückholen.\n"
    "Im Ordner können jetzt neue und alte Dateien nebeneinander liegen (alte Dateien "
    "unter dem Namen *.old-*); bitte prüfen Sie den Ordner und exportieren Sie erneut.";

// ---- End of the export run: after msg::kDatevExported ----
inline constexpr const char* kFileLine = "\nDatei: %s";
inline constexpr const char* kZeroLeftOut =
    "\n%d Buchungen mit dem Betrag 0 wurden nicht exportiert (DATEV nimmt sie nicht an).";

}  // namespace belvaron::msg::csv
