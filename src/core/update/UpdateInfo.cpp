#include "core/update/UpdateInfo.h"

#include "core/base/Text.h"

namespace belvaron {

namespace {

// The width of the free text before the product name in an entry header.
constexpr std::size_t kHeaderLead = 9;

}  // namespace

std::optional<UpdateInfo> ParseUpdateInfo(std::string_view text, std::string_view productName,
                                          std::string_view installedVersion) {
    const auto h = text.find("Programmhistory");
    if (h == std::string_view::npos) return std::nullopt;
    const auto p = text.find(productName, h);
    if (p == std::string_view::npos) return std::nullopt;
    const auto c = text.find(':', p);
    if (c == std::string_view::npos) return std::nullopt;

    UpdateInfo info;
    const auto afterName = p + productName.size();
    info.serverVersion = std::string(Trim(text.substr(afterName, c - afterName), kWhitespace));

    std::string entry(productName);
    entry.append(" ").append(installedVersion).append(":");
    const auto e = text.find(entry, c);
    const std::size_t length = (e == std::string_view::npos ? text.size() : e) - p;
    const std::size_t start = p >= kHeaderLead ? p - kHeaderLead : 0;
    info.history = LfToCrLf(text.substr(start, length));
    return info;
}

InstallerDigest FindInstallerDigest(std::string_view text, std::string_view setupFileName) {
    const std::string prefix = "SHA256 (" + std::string(setupFileName) + ") =";
    InstallerDigest result;
    while (!text.empty()) {
        const std::string_view line = Trim(SplitOffLine(text), kWhitespace);
        if (!line.starts_with(prefix)) continue;
        const auto digest = ParseDigestHex(Trim(line.substr(prefix.size()), kWhitespace));
        if (!digest) return {InstallerDigest::State::Malformed, {}};
        result = {InstallerDigest::State::Given, *digest};
    }
    return result;
}

}  // namespace belvaron
