#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

#include "core/platform/Files.h"

namespace belvaron::test {

// A fresh folder for one test, removed afterwards.
class TempDir {
public:
    TempDir() {
#ifdef _WIN32
        // No mkdtemp: a random name, created only when it is new.
        std::random_device random;
        const std::filesystem::path base = std::filesystem::temp_directory_path();
        for (;;) {
            const std::filesystem::path p = base / ("belvaron-" + std::to_string(random()));
            if (std::filesystem::create_directory(p)) {
                path_ = platform::Utf8Path(p);
                break;
            }
        }
#else
        std::string pattern = (std::filesystem::temp_directory_path() / "belvaron-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
#endif
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // The path of `name` (parts separated by '/') in the folder, with the
    // platform's separators.
    std::string File(std::string_view name) const {
#ifdef _WIN32
        std::string path = path_ + "\\" + std::string(name);
        for (char& c : path) c = c == '/' ? '\\' : c;
        return path;
#else
        return path_ + "/" + std::string(name);
#endif
    }

    // Writes bytes to a file in the folder and returns its path.
    std::string Write(std::string_view name, std::string_view bytes) const {
        const std::string p = File(name);
        std::ofstream(platform::FsPath(p), std::ios::binary)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return p;
    }

private:
    std::string path_;
};

// The whole content of a file ("" when missing).
inline std::string ReadFile(const std::string& path) {
    std::ifstream in(platform::FsPath(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace belvaron::test
