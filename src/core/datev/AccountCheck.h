#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/Notices.h"
#include "core/base/Progress.h"
#include "core/bookings/BookingRecord.h"
#include "core/datev/ChartFile.h"

namespace belvaron {

class BookingStore;

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

// One account that bookings use in a reported state, as its proposal needs it.
struct ProposalAccount {
    int32_t account = 0;
    bool automatic = false;  // an automatic account: "Automatik aus" with key 40
    // The plain account the generic proposal names, none when there is none.
    std::optional<int32_t> plainAccount;
};

// What the proposals for the REPLACE list need of a check: a few bytes per
// reported account, kept when the account table is gone.
struct ReplaceProposals {
    ChartVariant variant = ChartVariant::None;  // SK3/SK4 have fixed lines for some accounts
    std::vector<ProposalAccount> accounts;      // ascending
};

// The proposals' accounts of a marked table: every used account in a
// reported state, ascending, with the plain account of its generic proposal
// (the next one above it for a four-digit account, else the chart's last).
ReplaceProposals CollectProposals(std::span<const int32_t> states, ChartVariant variant,
                                  std::optional<int32_t> lastPlainAccount);

// The proposal lines, Windows-1252, each ended by CR LF.
std::string BuildProposals(const ReplaceProposals& proposals);

// The files of one account check.
struct AccountCheckFiles {
    std::string chartName;   // as chosen in the main window: "SK3"/"SK4" in it pick the proposals
    std::string chartPath;   // the chart file read
    std::string reportPath;  // "Konto_Ueberpruefung.txt", replaced by the new report
};

struct AccountCheckOutcome {
    bool ok = false;         // the report was written
    bool cancelled = false;  // through the progress, before the report was written
    AccountCounts counts;
    // The report as shown (UTF-8, the information icon) once it was written,
    // else the error that stopped the check.
    Notices notices;
    ReplaceProposals proposals;

    // The report found something: proposals for it may be appended to the
    // REPLACE list with AppendReplaceProposals, from what they need.
    bool canPropose() const { return ok && counts.Any(); }
};

// "Konten überprüfen": reads the chart, marks the bookings' accounts and
// writes the report. The account table (kAccountLimit states) exists only
// during the call; E:311 when it cannot be allocated. Other failures: E:306
// (chart), E:307 (report), E:312 (an account too large for the table; the
// report is left empty). `progress` ticks between the stages (chart read,
// accounts marked); a cancel has no message and leaves the old report in
// place.
AccountCheckOutcome CheckAccounts(const BookingStore& store, const AccountCheckFiles& files,
                                  const Progress* progress = nullptr);

struct ProposalsOutcome {
    bool appended = false;  // the REPLACE list holds the proposals
    Notices notices;        // E:308 when it could not be written
};

// Appends the proposals of a check to the REPLACE list at `replacePath`
// (created when missing): its old content, a line break when it does not
// end with one, the proposal lines; written as a complete new file.
ProposalsOutcome AppendReplaceProposals(const std::string& replacePath,
                                        const ReplaceProposals& proposals);

}  // namespace belvaron
