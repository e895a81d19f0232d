#pragma once

#include <string>

namespace belvaron {

class Profile;

// The update server used when nothing else is configured.
inline constexpr const char* kDefaultUpdateUrl = "https://updates.belvaron.de/";

// The update server's base URL, ending with "/": the environment variable
// BELVARON_UPDATE_URL when set and not empty, else the profile's
// "Settings"/"UpdateUrl" when not empty, else kDefaultUpdateUrl. A missing
// final "/" is added.
std::string UpdateBaseUrl(const Profile& profile);

}  // namespace belvaron
