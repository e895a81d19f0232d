#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/bookings/BookingRecord.h"

namespace belvaron {

class BookingStore;
class DataFolders;

// The account table of the check: one state per account number
// 0 .. kAccountLimit-1.
inline constexpr int32_t kAccountLimit = 10'000'000;

namespace account_state {
inline constexpr int32_t kNotInChart = 0;
inline constexpr int32_t kPlain = 1;
inline constexpr int32_t kCollective = 2;   // "S"
inline constexpr int32_t kReserved = 3;     // "R"
inline constexpr int32_t kAutomaticAM = 4;  // "AM"
inline constexpr int32_t kAutomaticAV = 5;  // "AV"
inline constexpr int32_t kUsedOffset = 10;  // a state at first use by a booking: state + 10
}  // namespace account_state

// The standard chart a chart file name stands for ("SK3", "SK4" in the name).
enum class ChartVariant { None, SK3, SK4 };
ChartVariant ChartVariantOf(std::string_view chartName);
// The DATEV Sachkontenrahmen of a variant: "03", "04", or "" for None.
const char* SachkontenrahmenOf(ChartVariant variant);

// The chart file for a name from the combo box: the data file of that name;
// a name that exists only in the current folder is taken from there, and a
// name with a folder in it is taken as it stands.
std::string ChartPath(DataFolders& folders, const std::string& name);

// The state that the marker text after an account's comma gives.
int32_t MarkerState(std::string_view rest);

struct ChartReadResult {
    std::optional<int32_t> lastPlainAccount;  // last line read as a plain account above 0
    bool readError = false;
};

// Reads a chart file into `states` (kAccountLimit entries, cleared by the
// caller). Lines whose number lies outside the table are skipped.
ChartReadResult ReadChart(std::FILE* file, std::span<int32_t> states);
ChartReadResult ReadChart(std::string_view bytes, std::span<int32_t> states);

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

}  // namespace belvaron
