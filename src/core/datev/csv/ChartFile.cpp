#include "core/datev/csv/ChartFile.h"

#include <algorithm>
#include <unordered_map>

#include "core/base/FileWriter.h"
#include "core/base/LeadingInt.h"
#include "core/base/Text.h"

namespace belvaron::csv {


std::vector<int32_t> AutomaticAccountsOf(std::string_view bytes) {
    std::unordered_map<int32_t, int32_t> states;
    for (const std::string_view line : SplitLines(bytes)) {
        const auto comma = line.find(',');
        if (comma == std::string_view::npos) continue;
        const int32_t number = LeadingInt(line.substr(0, comma));
        const std::string_view rest = line.substr(std::min(line.size(), comma + 2), kMaxFieldChars);
        states[number] = MarkerState(rest);
    }
    std::vector<int32_t> automatic;
    for (const auto& [number, state] : states) {
        if (state == account_state::kAutomaticAM || state == account_state::kAutomaticAV) automatic.push_back(number);
    }
    std::sort(automatic.begin(), automatic.end());
    return automatic;
}

std::optional<std::vector<int32_t>> ReadAutomaticAccounts(const std::string& path) {
    std::string bytes;
    if (path.empty() || !ReadWholeFile(path, bytes)) return std::nullopt;
    return AutomaticAccountsOf(bytes);
}

}  // namespace belvaron::csv
