#pragma once

#include <cstddef>

// Messages of the VAT detail report import and the cash-basis re-dating.
namespace belvaron::msg {

// The rows' reservation failed.
inline constexpr const char* kE2xx = "(E:2--)\nSpeicher konnte nicht allokiert werden";

// Import: the path follows the code line.
inline constexpr const char* kE220 = "(E:220)\n%s - Eingabedatei konnte nicht geöffnet werden!";
inline constexpr const char* kE221 = "(E:221)\n%s - Eingabedatei kann nicht ausgelesen werden!";
inline constexpr const char* kE223Head =
    "(E:223)\nIn der Quickbooks-MwSt-Datei fehlen folgende Spalten:\n\n";
inline constexpr const char* kE223Tail = "\n\nBitte erstellen Sie eine neue korrekte MwSt-Datei.";
inline constexpr const char* kMissingBookingNo = " 'Buchungs-Nr.',";
inline constexpr const char* kMissingDate = " 'Datum',";
inline constexpr const char* kMissingAccount = " 'Konto',";
inline constexpr const char* kMissingAmount = " 'Betrag',";
inline constexpr const char* kE224 = "(E:224)\nEs konnte nicht genug Speicher allokiert werden";
// TracePoint, file line number (the header is line 1), last booking number.
inline constexpr const char* kE225 = "(E:225#%d)\nFehler beim Zuordnen in Zeile:%d, Buchungsnr:%d";
inline constexpr const char* kE226 = "(E:226#%d)\nFehler beim Einlesen in Zeile:%d, Buchungsnr:%d";

// Re-dating.
inline constexpr const char* kE227 =
    "(E:227)\nFehler: Unterschiedliche MwSt-Konten, Buchungsnr:%d\n"
    "Vermutlich ist in Quickbooks SOLL-Besteuerung aktiviert!";
inline constexpr const char* kE228 = "(E:228)\nEs konnte nicht genug Speicher allokiert werden";
inline constexpr const char* kE229 = "(E:229#%d)\nFehler beim Kopieren der Buchung., Buchungsnr:%d";
inline constexpr const char* kRedated =
    "Bei %d MwSt-Buchungen wurde das Datum geändert (IST-Besteuerung).";
// The lists (%s after "Buchungs-Nummern: ") show at most kShownBookingNumbers
// numbers, then kMoreNumbers; the last %s is the log's full path.
inline constexpr const char* kE230 =
    "(E:230) ACHTUNG:\nBei %d MwSt-Buchungen wurde das Datum geändert (IST-Besteuerung).\n"
    "Bei %d MwSt-Buchungen konnte die Original-Buchung nicht gefunden werden:\n"
    "Buchungs-Nummern: %s\nErweitern Sie bitte den Datums-Bereich des Journals.\n"
    "(Siehe auch Datei %s)";
inline constexpr const char* kE231 =
    "(E:231) ACHTUNG:\nBei %d Journal-Buchungen wurde keine MwSt-Buchung gefunden.\n"
    "Buchungs-Nummern: %s\n"
    "Die Beträge wurden auf 0,00 gesetzt (evt.noch nicht bezahlte Rechnungen).\n"
    "Erweitern Sie sonst den Datums-Bereich des MwSt-Berichts.\n"
    "(Siehe auch Datei %s)";
inline constexpr std::size_t kShownBookingNumbers = 50;
// After the shown numbers: %1 the count left out, %2 the log's full path.
inline constexpr const char* kMoreNumbers = " … und %1 weitere (vollständige Liste in %2)";
// The same when the log could not be written (E:234 follows).
inline constexpr const char* kMoreNumbersNoLog = " … und %1 weitere";
// A report that was read but holds no VAT row (maybe the wrong report).
inline constexpr const char* kE232 =
    "(E:232)\nDer MwSt-Detailbericht enthält keine einzige MwSt-Buchung.\n"
    "Bitte prüfen Sie, ob Sie den richtigen Bericht gewählt haben; es wurde kein Datum geändert.";
// The log of this run could not be written (%s the path, %s the reason).
inline constexpr const char* kE234 =
    "(E:234)\n%s konnte nicht geschrieben werden (%s).\n"
    "Die Datei enthält nicht die Angaben dieses Abgleichs; eine ältere Datei dieses Namens "
    "ist unverändert geblieben.";

// The re-dating log: its name and the beginnings of its two line layouts.
inline constexpr const char* kVatLogName = "error_mwst.log";
inline constexpr const char* kLogNoJournalBooking =
    "MwSt-IST-Abgleich: Keine Journal-Buchung gefunden: Nr:";
inline constexpr const char* kLogVatDate = " MwSt-Datum:";
inline constexpr const char* kLogNoVatBooking =
    "MwSt-IST-Abgleich: Keine MwSt-Buchung gefunden: Nr:";
inline constexpr const char* kLogJournalDate = " Journal-Datum:";
inline constexpr const char* kLogBeleg = " Beleg:";

}  // namespace belvaron::msg
