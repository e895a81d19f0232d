#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <span>
#include <string_view>

namespace belvaron {

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

// The state that the marker text after an account's comma gives.
int32_t MarkerState(std::string_view rest);

// The one reader of chart files. An entry is the number field up to the next
// comma (across line breaks when a line has none; the leading integer of its
// first 254 characters after leading white space), then, after one skipped
// character unless it ends the line, the markers up to the line feed (at most
// 254 characters count). Input that ends without a comma still gives an
// entry, so a file ending with a line break gives a last entry for account 0.
// `entry` is called in file order with every number, also those outside the
// account table. Returns false on a read error.
using ChartEntrySink = std::function<void(int32_t account, int32_t state)>;
bool ReadChartEntries(std::FILE* file, const ChartEntrySink& entry);
bool ReadChartEntries(std::string_view bytes, const ChartEntrySink& entry);

// The largest chart file read; a larger one, or one that is not a regular
// file, is refused by both readers as an unreadable chart.
inline constexpr std::size_t kMaxChartFileBytes = std::size_t{16} << 20;

struct ChartReadResult {
    std::optional<int32_t> lastPlainAccount;  // last line read as a plain account above 0
    bool readError = false;
};

// Reads a chart file into `states` (kAccountLimit entries, cleared by the
// caller), a later entry overriding an earlier one. Entries whose number lies
// outside the table are skipped.
ChartReadResult ReadChart(std::FILE* file, std::span<int32_t> states);
ChartReadResult ReadChart(std::string_view bytes, std::span<int32_t> states);

}  // namespace belvaron
