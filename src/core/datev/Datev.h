#pragma once

#include <cstdint>
#include <string>

#include "app/ReservedMemory.h"

namespace belvaron {

class CDataSet;
class UiPort;

// Which files a DATEV export writes: the CSV "DATEV-Format" (EXTF
// Buchungsstapel) that DATEV imports today, or the "Postversand" files
// (ED00001/EV01 or DE001/DV01, chosen by kontonummernerweiterung).
enum class DatevExportFormat { Csv, Postversand };

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

    DatevExportFormat exportFormat = DatevExportFormat::Csv;
    int32_t wjBeginnTag = 1;       // start of the fiscal year: day 1..31
    int32_t wjBeginnMonat = 1;     // and month 1..12
    char sachkontenrahmen[3] = {'0', '3', '\0'};  // "03" SKR 03 or "04" SKR 04
    int32_t festschreibung = 0;    // 1: the batch is locked on import
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

    CDataSet* dataSet = nullptr;  // not owned
    DatevSettings settings;
    char exportYear[3] = {};
    char dateFrom[11] = {};
    char dateTo[11] = {};
    int32_t blockCount = 1;
    ReservedMemory workBuffer;  // 10,000,000 account states for the check

    UiPort& ui() const { return ui_; }

    void SetDataSet(CDataSet* store);
    bool LoadSettings();
    bool SaveSettings();
    void FindDateRange();
    int WriteDataFile(const std::string& folder);
    bool WriteHeaderFile(const std::string& folder);
    bool CheckAccounts(const std::string& chartName);

private:
    UiPort& ui_;
};

}  // namespace belvaron
