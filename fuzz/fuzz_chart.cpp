// The chart reader: the account check's table and the CSV export's list of
// automatic accounts must agree on every account.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "core/datev/ChartFile.h"
#include "core/datev/csv/ChartFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace belvaron;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    static std::vector<int32_t> states(kAccountLimit);
    std::fill(states.begin(), states.end(), 0);
    (void)ReadChart(bytes, states);
    const std::vector<int32_t> automatic = csv::AutomaticAccountsOf(bytes);
    for (const int32_t account : automatic) {
        if (account < 0 || account >= kAccountLimit) continue;
        const int32_t s = states[static_cast<std::size_t>(account)];
        if (s != account_state::kAutomaticAM && s != account_state::kAutomaticAV) std::abort();
    }
    return 0;
}
