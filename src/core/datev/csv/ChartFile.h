#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/datev/ChartFile.h"

namespace belvaron::csv {

// The automatic accounts (markers "AM" or "AV", not overridden by "R" or
// "S") of a chart file, ascending; nullopt when the file cannot be read.
// The file is read by ReadChartEntries, as the account check reads it; a
// later entry with the same number overrides an earlier one.
std::optional<std::vector<int32_t>> ReadAutomaticAccounts(const std::string& path);

// The same from the file's bytes.
std::vector<int32_t> AutomaticAccountsOf(std::string_view bytes);

}  // namespace belvaron::csv
