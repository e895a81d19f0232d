#include "core/workflow/HelpText.h"

#include <algorithm>

#include "core/base/FileWriter.h"

namespace belvaron {

std::optional<std::vector<std::string>> ReadHelpLines(const std::string& path) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) return std::nullopt;
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (;;) {
        std::size_t end = bytes.find('\n', start);
        const bool last = end == std::string::npos;
        if (last) end = bytes.size();
        std::size_t stop = end;
        if (!last && stop > start && bytes[stop - 1] == '\r') --stop;
        // A line longer than the limit goes on as further entries.
        std::size_t pos = start;
        do {
            const std::size_t n = std::min(kHelpLineMax, stop - pos);
            lines.push_back(bytes.substr(pos, n));
            pos += n;
        } while (pos < stop);
        if (last) break;
        start = end + 1;
    }
    return lines;
}

}  // namespace belvaron
