#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "core/base/Sha256.h"

namespace belvaron {
namespace {

struct DigestCase {
    const char* name;
    std::string input;
    const char* hex;
};

void PrintTo(const DigestCase& c, std::ostream* os) { *os << c.name; }

// The published test vectors, plus lengths around the padding boundary.
const DigestCase kVectors[] = {
    {"Empty", "", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
    {"Abc", "abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
    {"TwoBlocks", "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
     "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
    {"FiftyFiveBytes", std::string(55, 'a'),
     "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
    {"FiftySixBytes", std::string(56, 'a'),
     "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a"},
    {"MillionA", std::string(1000000, 'a'),
     "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
};

class Sha256Vectors : public ::testing::TestWithParam<DigestCase> {};

TEST_P(Sha256Vectors, WholeAndInPiecesGiveThePublishedDigest) {
    const DigestCase& c = GetParam();
    EXPECT_EQ(DigestHex(Sha256Of(c.input)), c.hex);
    Sha256 pieces;
    for (std::size_t at = 0, step = 1; at < c.input.size(); at += step, step = step * 2 % 97 + 1) {
        pieces.Update(std::string_view(c.input).substr(at, step));
    }
    EXPECT_EQ(DigestHex(pieces.Finish()), c.hex);
}

INSTANTIATE_TEST_SUITE_P(Table, Sha256Vectors, ::testing::ValuesIn(kVectors),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Sha256, HexReadsBackInEitherCaseAndRefusesAnythingElse) {
    const Sha256Digest d = Sha256Of("abc");
    EXPECT_EQ(ParseDigestHex(DigestHex(d)), d);
    std::string upper = DigestHex(d);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(ParseDigestHex(upper), d);
    EXPECT_FALSE(ParseDigestHex(DigestHex(d).substr(1)));
    EXPECT_FALSE(ParseDigestHex(DigestHex(d) + "0"));
    EXPECT_FALSE(ParseDigestHex(std::string(63, '0') + "g"));
}

}  // namespace
}  // namespace belvaron
