#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/datev/csv/ChartFile.h"

namespace belvaron {

class BookingStore;
struct DatevSettings;

namespace csv {

// What the checks know of the chart of accounts chosen in the main window.
struct ChartInfo {
    std::string name;  // the chart file's name, for messages
    ChartVariant variant = ChartVariant::None;
    bool known = false;                      // automaticAccounts was read
    std::vector<int32_t> automaticAccounts;  // ascending
};

// Problems of one severity: the first kMaxListed lines, the total count and
// which kinds of remedy apply.
struct ProblemList {
    static constexpr int kMaxListed = 20;
    enum Fix : unsigned {
        kFixSettings = 1,
        kFixRange = 2,
        kFixAccounts = 4,
        kFixBookings = 8,
        kFixAutomatic = 16,
        kFixSameAccount = 32,
        kFixChart = 64,
    };

    std::vector<std::string> lines;
    int total = 0;
    unsigned fixes = 0;

    void Add(Fix fix, std::string line);
    bool empty() const { return total == 0; }
};

// A booking that goes into the batch: its store index, date and amount in
// cents.
struct SelectedBooking {
    int32_t index;
    int32_t dateKey;  // YYYYMMDD
    int64_t cents;    // signed, not 0
};

struct CsvCheckResult {
    ProblemList errors;
    ProblemList warnings;
    std::vector<SelectedBooking> selected;  // store order
    int zeroLeftOut = 0;                    // bookings in the range with amount 0
    int32_t fromKey = 0;                    // YYYYMMDD
    int32_t toKey = 0;
};

// Checks the settings, the range dateFrom..dateTo (DD.MM.YYYY) and every
// booking in that range (DateKey, both ends included, store order), and
// selects the bookings to write. Nothing is shown or written.
CsvCheckResult CheckDatevCsv(const BookingStore& store, const DatevSettings& settings,
                             const std::string& dateFrom, const std::string& dateTo,
                             const ChartInfo& chart);

// The E:313 message (errors, then the warnings) and the E:314 message
// (warnings only), UTF-8.
std::string ErrorMessage(const CsvCheckResult& result);
std::string WarningMessage(const CsvCheckResult& result);

}  // namespace csv
}  // namespace belvaron
