#pragma once

#include <cstdint>

namespace belvaron {

// Which files a DATEV export writes: the CSV "DATEV-Format" (EXTF
// Buchungsstapel) that DATEV imports today, or the "Postversand" files
// (ED00001/EV01 or DE001/DV01, chosen by kontonummernerweiterung).
enum class DatevExportFormat { Csv, Postversand };

// How a CSV export spanning a longer range is cut into batches: one per
// fiscal year (and calendar year), or one per calendar month.
enum class DatevBatchPeriod { FiscalYear, Month };

// The DATEV-Angaben. Text fields are fixed arrays with one extra byte for
// the terminator. The first nine fields are the eleven-line settings file;
// the fields after them are stored as additional lines after those.
struct DatevSettings {
    int32_t beraternummer = 0;
    char beratername[11] = {};
    int32_t mandantennummer = 0;
    char dfvKennzeichen[3] = {};
    int32_t datentraegernummer = 1;
    int32_t abrechnungsnummer = 1;
    char passwort[5] = {};
    int32_t kontonummernerweiterung = 1;
    int32_t kontonummernlaenge = 4;

    // Stored as additional lines 12 to 16 of the settings file; a file
    // without them gives these values.
    DatevExportFormat exportFormat = DatevExportFormat::Csv;
    int32_t wjBeginnTag = 1;                      // start of the fiscal year: day 1..31
    int32_t wjBeginnMonat = 1;                    // and month 1..12
    char sachkontenrahmen[3] = {'0', '3', '\0'};  // "03" SKR 03 or "04" SKR 04
    int32_t festschreibung = 0;                   // 1: the batch is locked on import
    // Stored as line 17.
    DatevBatchPeriod batchPeriod = DatevBatchPeriod::FiscalYear;
};

// True when the settings choose the extended Postversand format
// (ED00001/EV01, account numbers with kontonummernlaenge + 1 digits).
inline bool ExtendedFormat(const DatevSettings& settings) {
    return settings.kontonummernerweiterung != 0;
}

}  // namespace belvaron
