#include "core/base/Text.h"

namespace belvaron {

std::string_view SplitOff(std::string_view& rest, char separator) {
    const auto at = rest.find(separator);
    const std::string_view part = rest.substr(0, at);
    rest = at == std::string_view::npos ? std::string_view() : rest.substr(at + 1);
    return part;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const bool broken = text.find('\n') != std::string_view::npos;
        std::string_view line = SplitOff(text, '\n');
        if (broken && !line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
    }
    return lines;
}

std::string ReplaceMarker(std::string text, std::string_view marker, std::string_view value) {
    const auto pos = text.find(marker);
    if (pos != std::string::npos) text.replace(pos, marker.size(), value);
    return text;
}

}  // namespace belvaron
