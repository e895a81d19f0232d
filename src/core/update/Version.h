#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace belvaron {

// The product name: window title, update server paths, installer name.
inline constexpr const char* kProductName = "Belvaron";

// The version of the running program: the "FileVersion" of its version
// resource where it has one (the Windows executable), else the compiled-in
// BELVARON_VERSION.
std::string ProgramVersion();

// Reader of a file's version strings. The program's own file (product name
// + ".exe") carries the running program's strings ("FileVersion" =
// ProgramVersion(), "ProductName"); any other file has none.
class FileVersionInfo {
public:
    // Language 0x0409 (English, US), code page 0x04B0 (Unicode).
    static constexpr uint32_t kTranslation = 0x040904B0;

    // True when the file has version strings.
    bool LoadFromFile(const std::string& fileName);
    // The value of `key` in the given translation (0: the loaded one); empty
    // when absent or nothing is loaded.
    std::string GetStringValue(std::string_view key, uint32_t translation = 0) const;
    uint32_t translation() const { return translation_; }

private:
    bool loaded_ = false;
    uint32_t translation_ = 0;
};

// The integer form of a version text for comparing: leading 'V's dropped,
// then the first three parts between dots read as leading integers,
// first × 10000 + second × 100 + third ("V2.3.150" gives 20450).
int64_t VersionNumber(std::string_view version);

}  // namespace belvaron
