#pragma once

// Messages of the DATEV export: settings, data file, header file, the
// export run's guards and results, and the settings dialog's checks.
namespace belvaron::msg {

// Settings file.
inline constexpr const char* kE301 = "(E:301)\nANGABEN_DATEV.TXT konnte nicht geöffnet werden!";
inline constexpr const char* kE301Write =
    "(E:301)\nANGABEN_DATEV.TXT konnte nicht vollständig geschrieben werden!\n"
    "Die bisherige Datei bleibt unverändert; prüfen Sie den freien Speicherplatz.";
// The settings file exists but cannot be read (%s the path, %s the reason).
inline constexpr const char* kE301Read =
    "(E:301)\n%s konnte nicht gelesen werden (%s).\n"
    "Der DATEV-Export wurde abgebrochen; die Datei bleibt unverändert. Bitte prüfen Sie "
    "die Zugriffsrechte der Datei.";

// Data file (%s the path).
inline constexpr const char* kE302 = "(E:302)\n%s konnte nicht geöffnet werden!";
inline constexpr const char* kE302Write =
    "(E:302)\n%s konnte nicht vollständig geschrieben werden!\n"
    "Die bisherigen DATEV-Dateien bleiben unverändert; prüfen Sie den freien Speicherplatz "
    "und den Ordner.";
inline constexpr const char* kE304 =
    "(E:304)\nEs dürfen nur Buchungen innerhalb eines Jahres exportiert werden!\n"
    "Buchungen sind von: %.10s bis: %.10s";

// The new batch could not be put in place and the old one could not be put
// back completely (%s the folder).
inline constexpr const char* kE302Mixed =
    "(E:302)\nDie DATEV-Dateien im Ordner %s konnten nicht ersetzt werden, und die bisherigen "
    "Dateien ließen sich nicht vollständig zurückholen.\n"
    "Im Ordner können jetzt neue und alte Dateien nebeneinander liegen (alte Dateien "
    "unter dem Namen *.old-*); bitte prüfen Sie den Ordner und exportieren Sie erneut.";

// Header file (%s the path).
inline constexpr const char* kE305 = "(E:305)\n%s konnte nicht geöffnet werden!";
inline constexpr const char* kE305Write =
    "(E:305)\n%s konnte nicht vollständig geschrieben werden!\n"
    "Die bisherigen DATEV-Dateien bleiben unverändert; prüfen Sie den freien Speicherplatz "
    "und den Ordner.";

// An amount the batch cannot carry (%d the booking number, %s its amount text).
inline constexpr const char* kE316Amount =
    "(E:316)\nDer Betrag %s der Buchung Nr. %d hat mehr als 18 Ziffern.\n"
    "Es wurde keine DATEV-Datei geschrieben; korrigieren Sie den Betrag im Journal.";
inline constexpr const char* kE316Total =
    "(E:316)\nDie Summe der Beträge ist zu groß für eine DATEV-Datei.\n"
    "Es wurde keine DATEV-Datei geschrieben; exportieren Sie einen kürzeren Zeitraum.";
inline constexpr const char* kE316Size =
    "(E:316)\nDie DATEV-Datei wäre mit %d Blöcken zu groß (höchstens %d Blöcke).\n"
    "Es wurde keine DATEV-Datei geschrieben; exportieren Sie einen kürzeren Zeitraum "
    "oder wählen Sie das DATEV-Format CSV.";
// An amount beyond the data file's ten-digit amount field (%s the amount
// text, %d the booking number).
inline constexpr const char* kE316AmountField =
    "(E:316)\nDer Betrag %s der Buchung Nr. %d ist größer als 99.999.999,99 und passt nicht "
    "in eine DATEV-Postversand-Datei.\n"
    "Es wurde keine DATEV-Datei geschrieben; wählen Sie das DATEV-Format CSV.";

// The export run.
inline constexpr const char* kE111 =
    "(E:111#%d)\nException: Fehler beim Laden/Speichern der Datev-Angaben.";
inline constexpr const char* kE112 =
    "(E:112#%d)\nException: Fehler beim Erstellen der Datev-Buchungs-Daten.";
inline constexpr const char* kE113 =
    "(E:113#%d)\nException: Fehler beim Erstellen der Datev-Header-Datei.";
inline constexpr const char* kDatevExported =
    "DATEV-Export erfolgreich abgeschlossen.\n%d Buchungen wurden exportiert.";
inline constexpr const char* kE117 =
    "(E:117)\nFehler beim DATEV-Export!\n%d Buchungen wurden exportiert.";
inline constexpr const char* kDatevFilter = "DATEV-Files (ED00001)|ED00001|ALL-Files (*.*)|*.*|";

// The settings dialog's field checks use the framework's texts of the
// bookings catalogue (kNotAnInteger, kIntegerRange, kMaxChars), then the
// check of the fiscal-year start.
// A text field with a line break, TAB or other control character.
inline constexpr const char* kDatevControlChars =
    "Das Feld darf keine Steuerzeichen (Zeilenumbruch, Tabulator) enthalten.";
inline constexpr const char* kNoSuchDay =
    "Der Beginn des Wirtschaftsjahres %02d.%02d. ist kein gültiger Tag.\n"
    "Geben Sie einen Tag ein, den es in diesem Monat gibt.";

}  // namespace belvaron::msg
