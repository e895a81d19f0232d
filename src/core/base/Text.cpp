#include "core/base/Text.h"

#include <algorithm>

namespace belvaron {

std::string_view SplitOff(std::string_view& rest, char separator) {
    const auto at = rest.find(separator);
    const std::string_view part = rest.substr(0, at);
    rest = at == std::string_view::npos ? std::string_view() : rest.substr(at + 1);
    return part;
}

std::string_view Trim(std::string_view text, std::string_view blanks) {
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::string LfToCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (const char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

std::string_view SplitOffLine(std::string_view& rest) {
    const bool broken = rest.find('\n') != std::string_view::npos;
    const std::string_view line = SplitOff(rest, '\n');
    return line.substr(0, LineTextLength(line.size(), line.empty() ? '\0' : line.back(), broken));
}

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) lines.push_back(SplitOffLine(text));
    return lines;
}

std::string ReplaceMarker(std::string text, std::string_view marker, std::string_view value) {
    const auto pos = text.find(marker);
    if (pos != std::string::npos) text.replace(pos, marker.size(), value);
    return text;
}

std::string GroupedThousands(std::uint64_t n) {
    const std::string digits = std::to_string(n);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped += '.';
        grouped += digits[i];
    }
    return grouped;
}

std::string CappedNumberList(std::span<const std::int32_t> numbers, std::size_t limit,
                             std::string_view more) {
    std::string list;
    const std::size_t shown = std::min(limit, numbers.size());
    for (std::size_t i = 0; i < shown; ++i) {
        list += std::to_string(numbers[i]);
        list += ',';
    }
    if (shown < numbers.size()) {
        list += ReplaceMarker(std::string(more), "%1", GroupedThousands(numbers.size() - shown));
    }
    return list;
}

}  // namespace belvaron
