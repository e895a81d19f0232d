#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/base/ReservedMemory.h"

namespace belvaron {

class BookingStore;
class FileWriter;
class UiPort;

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

// The DATEV exporter: settings, export range, the data and header files and
// the account check. Owned by the workflow for the whole run.
class CDatev {
public:
    static constexpr std::size_t kWorkBufferSize = 40'000'000;

    explicit CDatev(UiPort& ui);
    virtual ~CDatev();
    CDatev(const CDatev&) = delete;
    CDatev& operator=(const CDatev&) = delete;

    BookingStore* dataSet = nullptr;  // not owned
    DatevSettings settings;
    char exportYear[3] = {};
    char dateFrom[11] = {};
    char dateTo[11] = {};
    int32_t blockCount = 1;
    ReservedMemory workBuffer;  // 10,000,000 account states for the check

    UiPort& ui() const { return ui_; }

    void SetDataSet(BookingStore* store);

    // The settings file "angaben_datev.txt" of the data folder. Load: true
    // when the file was read; false, without a message, when it cannot be
    // opened (the settings are then the defaults). Save: replaces the file
    // only by a complete new one; false after E:301.
    bool LoadSettings();
    bool SaveSettings();

    // dateFrom and dateTo = the earliest and latest booking date of the
    // store (first booking found on ties); an empty store leaves them.
    void FindDateRange();

    // True when the settings choose the extended format (ED00001/EV01).
    bool Extended() const { return settings.kontonummernerweiterung != 0; }

    // The data file of the range dateFrom..dateTo, "ED00001" or "DE001" in
    // `folder` (no trailing '/'). Returns the number of bookings written; 0
    // when no booking lay in the range, and 0 after a message when the file
    // could not be written (E:302), was refused (E:303, E:316) or would have
    // more blocks than the header file can count (E:316). The new file is
    // completed here but replaces an existing one only together with the
    // header file (WriteHeaderFile), so that a batch in the folder is only
    // ever replaced by a complete new batch.
    int WriteDataFile(const std::string& folder);
    // The header file "EV01" or "DV01" in `folder`, from the settings and the
    // exportYear and blockCount left by WriteDataFile of the same run, which
    // must come first. On success both new files replace the old batch and
    // true is returned. False after E:305 when the header file cannot be
    // written, and false without a message when the data file of this run
    // failed: the old batch then stays as it was.
    bool WriteHeaderFile(const std::string& folder);

    // Streams the data file to `sink` in whole 256-byte blocks; sets
    // exportYear and blockCount. Shows E:303, E:304 (a warning), E:316.
    // Returns the number of bookings, or nullopt when the file must not be
    // used (no store, an amount or total too large, `sink` returned false).
    std::optional<int> StreamDataFile(const std::function<bool(std::string_view)>& sink);

    // The amount of a booking in cents: the decimal digits of the first 30
    // characters of `amount`, in order (signs, dots and the comma dropped);
    // negative when its first character after blanks is '-'. An empty digit
    // string gives 0. nullopt when there are more than 18 digits: such an
    // amount is refused, never cut or wrapped (the data file writer refuses
    // a total beyond the 64-bit range in the same way).
    static std::optional<int64_t> DigitsToInt(std::string_view amount);

    bool CheckAccounts(const std::string& chartName);

private:
    UiPort& ui_;
    // The data file of the current run, complete but not yet in place.
    std::unique_ptr<FileWriter> pendingDataFile_;
    std::string pendingDataPath_;
};

}  // namespace belvaron
