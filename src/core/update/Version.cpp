#include "core/update/Version.h"

#include <algorithm>

#include "core/base/LeadingInt.h"
#include "core/base/Text.h"
#include "core/platform/System.h"

namespace belvaron {

std::string ProgramVersion() {
    return platform::ProgramVersionString("FileVersion", FileVersionInfo::kTranslation)
        .value_or(BELVARON_VERSION);
}

bool FileVersionInfo::LoadFromFile(const std::string& fileName) {
    loaded_ = fileName == std::string(kProductName) + ".exe";
    translation_ = loaded_ ? kTranslation : 0;
    return loaded_;
}

std::string FileVersionInfo::GetStringValue(std::string_view key, uint32_t translation) const {
    if (!loaded_) return {};
    if (translation != 0 && translation != translation_) return {};
    if (key == "FileVersion") return ProgramVersion();
    if (key == "ProductName") return kProductName;
    return {};
}

int64_t VersionNumber(std::string_view version) {
    std::string_view rest =
        version.substr(std::min(version.find_first_not_of('V'), version.size()));
    const int64_t first = LeadingInt(SplitOff(rest, '.'));
    const int64_t second = LeadingInt(SplitOff(rest, '.'));
    const int64_t third = LeadingInt(SplitOff(rest, '.'));
    return first * 10000 + second * 100 + third;
}

}  // namespace belvaron
