#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace belvaron::csv {

// The DATEV standard chart a chart file belongs to, from its name: SK3 when
// the name contains "SK3", SK4 when it contains "SK4" (SK4 wins when both
// occur); case-sensitive.
enum class ChartVariant { None, Sk3, Sk4 };
ChartVariant ChartVariantOfName(std::string_view name);

// The Sachkontenrahmen of a variant: "03", "04", or "" for None. Used to
// preselect the setting from the chosen chart file.
const char* SachkontenrahmenOf(ChartVariant variant);

// The automatic accounts (markers "AM" or "AV", not overridden by "R" or
// "S") of a chart file, ascending; nullopt when the file cannot be read.
// A line is the account number, ',', one skipped character and the markers;
// a later line with the same number overrides an earlier one; a line without
// a comma carries no account.
std::optional<std::vector<int32_t>> ReadAutomaticAccounts(const std::string& path);

// The same from the file's bytes.
std::vector<int32_t> AutomaticAccountsOf(std::string_view bytes);

}  // namespace belvaron::csv
