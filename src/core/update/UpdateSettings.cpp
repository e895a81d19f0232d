#include "core/update/UpdateSettings.h"

#include "core/base/Profile.h"
#include "core/platform/System.h"

namespace belvaron {

std::string UpdateBaseUrl(const Profile& profile) {
    std::string url = kDefaultUpdateUrl;
    if (auto env = platform::Environment("BELVARON_UPDATE_URL")) {
        url = *env;
    } else if (auto stored = profile.GetString("Settings", "UpdateUrl");
               stored && !stored->empty()) {
        url = *stored;
    }
    if (url.back() != '/') url += '/';
    return url;
}

}  // namespace belvaron
