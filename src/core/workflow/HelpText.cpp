#include "core/workflow/HelpText.h"

#include "core/base/FileWriter.h"
#include "core/base/Text.h"

namespace belvaron {

std::optional<std::vector<std::string>> ReadHelpLines(const std::string& path) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) return std::nullopt;
    std::vector<std::string> lines;
    for (const std::string_view line : SplitLines(bytes)) {
        // A line longer than the limit goes on as further entries.
        std::size_t pos = 0;
        do {
            lines.emplace_back(line.substr(pos, kMaxFieldChars));
            pos += kMaxFieldChars;
        } while (pos < line.size());
    }
    if (bytes.empty() || bytes.back() == '\n') lines.emplace_back();
    return lines;
}

}  // namespace belvaron
