#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace belvaron {

using Sha256Digest = std::array<uint8_t, 32>;

// SHA-256 (FIPS 180-4) over bytes given in any number of pieces.
class Sha256 {
public:
    Sha256();
    void Update(std::string_view bytes);
    // The digest of everything given; the object must not be used afterwards.
    Sha256Digest Finish();

private:
    void Block(const uint8_t* block);

    std::array<uint32_t, 8> state_;
    std::array<uint8_t, 64> buffer_{};
    std::size_t buffered_ = 0;
    uint64_t length_ = 0;  // bytes given
};

Sha256Digest Sha256Of(std::string_view bytes);

// The digest as 64 lower-case hexadecimal digits.
std::string DigestHex(const Sha256Digest& digest);
// 64 hexadecimal digits (either case) as a digest; nullopt otherwise.
std::optional<Sha256Digest> ParseDigestHex(std::string_view hex);

}  // namespace belvaron
