#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/datev/AccountCheck.h"

namespace belvaron::csv {

// The automatic accounts (markers "AM" or "AV", not overridden by "R" or
// "S") of a chart file, ascending; nullopt when the file cannot be read.
// A line is the account number, ',', one skipped character and the markers;
// a later line with the same number overrides an earlier one; a line without
// a comma carries no account.
std::optional<std::vector<int32_t>> ReadAutomaticAccounts(const std::string& path);

// The same from the file's bytes.
std::vector<int32_t> AutomaticAccountsOf(std::string_view bytes);

}  // namespace belvaron::csv
