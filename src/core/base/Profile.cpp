#include "core/base/Profile.h"

#include <vector>

#include "core/base/DataFiles.h"
#include "core/base/FileWriter.h"
#include "core/base/LeadingInt.h"
#include "core/base/Text.h"
#include "core/platform/Files.h"
#include "core/platform/System.h"

namespace belvaron {

namespace {

std::vector<std::string> Lines(const std::string& text) {
    const std::vector<std::string_view> views = SplitLines(text);
    return {views.begin(), views.end()};
}

}  // namespace

Profile::Profile()
    : path_(platform::JoinPath(platform::JoinPath(platform::ConfigFolder(), "Belvaron"),
                               "belvaron.ini")) {}

std::optional<std::string> Profile::GetString(const std::string& section,
                                              const std::string& key) const {
    std::string text;
    if (!ReadWholeFile(path_, text)) return std::nullopt;
    std::string current;
    for (const std::string& raw : Lines(text)) {
        const std::string line(Trim(raw, kLineBlanks));
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            current = line.substr(1, line.size() - 2);
            continue;
        }
        const auto eq = line.find('=');
        if (current == section && eq != std::string::npos &&
            Trim(std::string_view(line).substr(0, eq), kLineBlanks) == key) {
            return std::string(Trim(std::string_view(line).substr(eq + 1), kLineBlanks));
        }
    }
    return std::nullopt;
}

int Profile::GetInt(const std::string& section, const std::string& key, int defaultValue) const {
    const auto value = GetString(section, key);
    return value ? LeadingInt(*value) : defaultValue;
}

bool Profile::SetString(const std::string& section, const std::string& key,
                        const std::string& value) {
    std::string text;
    ReadWholeFile(path_, text);
    std::vector<std::string> lines = Lines(text);
    std::string current;
    int sectionEnd = -1;
    bool done = false;
    for (std::size_t i = 0; i < lines.size() && !done; ++i) {
        const std::string line(Trim(lines[i], kLineBlanks));
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            current = line.substr(1, line.size() - 2);
            if (current == section) sectionEnd = static_cast<int>(i) + 1;
            continue;
        }
        if (current != section) continue;
        sectionEnd = static_cast<int>(i) + 1;
        const auto eq = line.find('=');
        if (eq != std::string::npos &&
            Trim(std::string_view(line).substr(0, eq), kLineBlanks) == key) {
            lines[i] = key + "=" + value;
            done = true;
        }
    }
    if (!done) {
        if (sectionEnd < 0) {
            lines.push_back("[" + section + "]");
            sectionEnd = static_cast<int>(lines.size());
        }
        lines.insert(lines.begin() + sectionEnd, key + "=" + value);
    }
    std::string out;
    for (const auto& l : lines) out += l + "\n";
    MakeDirectories(FolderOfPath(path_));
    return WriteFileReplacing(path_, out);
}

bool Profile::SetInt(const std::string& section, const std::string& key, int value) {
    return SetString(section, key, std::to_string(value));
}

}  // namespace belvaron
