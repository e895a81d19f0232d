#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/Progress.h"
#include "core/bookings/BookingRecord.h"
#include "core/datev/ChartFile.h"

namespace belvaron {

class BookingStore;
class UiPort;

// The chart file for a name from the combo box: the data file of that name
// (`resolveDataFile` gives its path); a name that exists only in the current
// folder is taken from there, and a name with a folder in it is taken as it
// stands.
std::string ChartPath(const std::function<std::string(const std::string&)>& resolveDataFile,
                      const std::string& name);

// What the bookings' accounts showed, counted once per account.
struct AccountCounts {
    int notExisting = 0;
    int collective = 0;
    int reserved = 0;
    int automaticAM = 0;
    int automaticAV = 0;
    bool Any() const { return notExisting + collective + reserved + automaticAM + automaticAV > 0; }
};

struct MarkResult {
    AccountCounts counts;
    // Negative account numbers used by bookings, ascending, each once. They
    // are not in any chart and are reported as not existing, without proposal.
    std::vector<int32_t> negativeAccounts;
    // The first booking with an account of kAccountLimit or more (the marking
    // stopped there), none when every account fits the table.
    std::optional<std::size_t> tooLarge;
};

// Marks the accounts of the bookings in `states`, HABEN before SOLL, each at
// its first use: not in the chart, collective, reserved, and automatic
// accounts of bookings without DATEV key.
MarkResult MarkUsedAccounts(std::span<const BookingRecord> bookings, std::span<int32_t> states);

// The report, UTF-8 with "\n" line ends.
std::string BuildAccountReport(std::span<const int32_t> states,
                               std::span<const int32_t> negativeAccounts);

// The report as the file holds it: Windows-1252, CR LF.
std::string ReportFileBytes(const std::string& report);

// The proposal lines for every used account in a reported state, ascending,
// Windows-1252, each ended by CR LF.
std::string BuildProposals(std::span<const int32_t> states, ChartVariant variant,
                           std::optional<int32_t> lastPlainAccount);

// The files of one account check.
struct AccountCheckFiles {
    std::string chartName;    // as chosen in the main window: "SK3"/"SK4" in it pick the proposals
    std::string chartPath;    // the chart file read
    std::string reportPath;   // "Konto_Ueberpruefung.txt", replaced by the new report
    std::string replacePath;  // "replace.dat", where accepted proposals are appended
};

struct AccountCheckOutcome {
    bool ok = false;         // the report was written, and the proposals when they were asked for
    bool cancelled = false;  // through the progress, before the report was written
    AccountCounts counts;
    bool proposalsAppended = false;
};

// "Konten überprüfen": reads the chart, marks the bookings' accounts, writes
// and shows the report and, when something was found and the question is
// answered yes, appends proposals to the REPLACE list. The account table
// (kAccountLimit states) exists only during the call; E:311 when it cannot
// be allocated. Other failures: E:306 (chart), E:307 (report), E:312 (an
// account too large for the table; the report is left empty), E:308
// (REPLACE list). `progress` ticks between the stages (chart read, accounts
// marked); a cancel shows nothing and leaves the old report in place.
AccountCheckOutcome CheckAccounts(const BookingStore& store, const AccountCheckFiles& files,
                                  UiPort& ui, const Progress* progress = nullptr);

}  // namespace belvaron
