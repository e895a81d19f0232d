// The update information parser, the installer digest line and the version
// comparison.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/update/UpdateInfo.h"
#include "core/update/Version.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace belvaron;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto info = ParseUpdateInfo(text, "Belvaron", "V2.3")) {
        const int64_t server = VersionNumber(info->serverVersion);
        if ((VersionNumber(info->serverVersion) != server)) std::abort();
    }
    (void)FindInstallerDigest(text, "setup_belvaron.exe");
    (void)VersionNumber(text);
    return 0;
}
