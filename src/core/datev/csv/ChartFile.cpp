#include "datev/csv/ChartFile.h"

#include <algorithm>
#include <unordered_map>

#include "app/FileWriter.h"
#include "app/LeadingInt.h"

namespace belvaron::csv {

ChartVariant ChartVariantOfName(std::string_view name) {
    if (name.find("SK4") != std::string_view::npos) return ChartVariant::Sk4;
    if (name.find("SK3") != std::string_view::npos) return ChartVariant::Sk3;
    return ChartVariant::None;
}

const char* SachkontenrahmenOf(ChartVariant variant) {
    switch (variant) {
        case ChartVariant::Sk3:
            return "03";
        case ChartVariant::Sk4:
            return "04";
        case ChartVariant::None:
            break;
    }
    return "";
}

namespace {

enum State { kPlain = 1, kCollective = 2, kReserved = 3, kAutomaticM = 4, kAutomaticV = 5 };

int StateOfMarkers(std::string_view rest) {
    int state = kPlain;
    if (rest.find("AV") != std::string_view::npos) state = kAutomaticV;
    if (rest.find("AM") != std::string_view::npos) state = kAutomaticM;
    if (rest.find('R') != std::string_view::npos) state = kReserved;
    if (rest.find('S') != std::string_view::npos) state = kCollective;
    return state;
}

}  // namespace

std::vector<int32_t> AutomaticAccountsOf(std::string_view bytes) {
    std::unordered_map<int32_t, int> states;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t end = bytes.find('\n', pos);
        if (end == std::string_view::npos) end = bytes.size();
        std::string_view line = bytes.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const auto comma = line.find(',');
        if (comma == std::string_view::npos) continue;
        const int32_t number = LeadingInt(line.substr(0, comma));
        const std::string_view rest = line.substr(std::min(line.size(), comma + 2), 254);
        states[number] = StateOfMarkers(rest);
    }
    std::vector<int32_t> automatic;
    for (const auto& [number, state] : states) {
        if (state == kAutomaticM || state == kAutomaticV) automatic.push_back(number);
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
