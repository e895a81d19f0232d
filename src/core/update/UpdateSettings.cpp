#include "core/update/UpdateSettings.h"

#include <cstdlib>

#include "core/base/Profile.h"

namespace belvaron {

std::string UpdateBaseUrl(const Profile& profile) {
    std::string url = kDefaultUpdateUrl;
    if (const char* env = std::getenv("BELVARON_UPDATE_URL"); env && *env) {
        url = env;
    } else if (auto stored = profile.GetString("Settings", "UpdateUrl");
               stored && !stored->empty()) {
        url = *stored;
    }
    if (url.back() != '/') url += '/';
    return url;
}

}  // namespace belvaron
