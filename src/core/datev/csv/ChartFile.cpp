#include "core/datev/csv/ChartFile.h"

#include <algorithm>
#include <unordered_map>

#include "core/base/FileWriter.h"
#include "core/base/InputFile.h"

namespace belvaron::csv {

std::vector<int32_t> AutomaticAccountsOf(std::string_view bytes) {
    std::unordered_map<int32_t, int32_t> states;
    ReadChartEntries(bytes, [&states](int32_t account, int32_t state) { states[account] = state; });
    std::vector<int32_t> automatic;
    for (const auto& [number, state] : states) {
        if (state == account_state::kAutomaticAM || state == account_state::kAutomaticAV) {
            automatic.push_back(number);
        }
    }
    std::sort(automatic.begin(), automatic.end());
    return automatic;
}

std::optional<std::vector<int32_t>> ReadAutomaticAccounts(const std::string& path) {
    const InputFile file = ReadInputFile(path, kMaxChartFileBytes);
    if (file.status != InputStatus::Read) return std::nullopt;
    return AutomaticAccountsOf(file.bytes);
}

}  // namespace belvaron::csv
