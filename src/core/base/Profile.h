#pragma once

#include <optional>
#include <string>

namespace belvaron {

// The application profile: an INI file named after the program,
// "<XDG config folder>/Belvaron/belvaron.ini" (XDG_CONFIG_HOME, else
// ~/.config). Keys live in sections ("Settings"). Reading a missing file or
// key gives the default; writing replaces the file only when complete.
class Profile {
public:
    // The profile file at its usual place.
    Profile();
    // A profile file at an explicit path (tests).
    explicit Profile(std::string path) : path_(std::move(path)) {}

    const std::string& path() const { return path_; }

    std::optional<std::string> GetString(const std::string& section, const std::string& key) const;
    int GetInt(const std::string& section, const std::string& key, int defaultValue) const;
    bool SetString(const std::string& section, const std::string& key, const std::string& value);
    bool SetInt(const std::string& section, const std::string& key, int value);

private:
    std::string path_;
};

}  // namespace belvaron
