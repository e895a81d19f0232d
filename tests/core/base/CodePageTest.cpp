#include <gtest/gtest.h>

#include "core/base/CodePage.h"

namespace belvaron {
namespace {

TEST(CodePage, Cp1252RoundTripsThroughUtf8) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

TEST(CodePage, UmlautsAndEuro) {
    EXPECT_EQ(Cp1252ToUtf8("\xE4\xF6\xFC\xDF\x80"), "äöüß€");
    EXPECT_EQ(Utf8ToCp1252("Erlöse €"), "Erl\xF6se \x80");
    EXPECT_EQ(Utf8ToCp1252("日本"), "??");
    EXPECT_EQ(Utf8ToCp1252("a\xC3"), "a?");  // truncated sequence
}

TEST(CodePage, AppendedUtf8KeepsWhatWasThereAndMixesRunsAndSingleBytes) {
    std::string out = "x";
    AppendCp1252AsUtf8(out,
                       "\xE4"
                       "bc\x80"
                       "de f\xFC");
    AppendCp1252AsUtf8(out, "");
    AppendCp1252AsUtf8(out, std::string_view("a\0b", 3));
    EXPECT_EQ(out, std::string("xäbc€de fü") + std::string("a\0b", 3));
}

TEST(CodePage, Cp850ByteForByte) {
    // ä ö ü Ä Ö Ü ß é
    EXPECT_EQ(Cp1252ToCp850("\xE4\xF6\xFC\xC4\xD6\xDC\xDF\xE9"),
              "\x84\x94\x81\x8E\x99\x9A\xE1\x82");
    EXPECT_EQ(Cp1252ToCp850("abc 123"), "abc 123");
    // The euro sign and the typographic quotes have no equivalent.
    EXPECT_EQ(Cp1252ToCp850("\x80\x93"), "??");
}

}  // namespace
}  // namespace belvaron
