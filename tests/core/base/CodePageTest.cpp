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

struct ConversionCase {
    const char* name;
    std::string input;
    std::string output;  // Windows-1252
    Cp1252Conversion::Source source;
    int unmappable;
};

void PrintTo(const ConversionCase& c, std::ostream* os) { *os << c.name; }

using Src = Cp1252Conversion::Source;

const ConversionCase kConversions[] = {
    {"AsciiStaysAsItIs", "Konto 1200\r\n", "Konto 1200\r\n", Src::Windows1252, 0},
    {"Windows1252StaysAsItIs", "M\xFCller", "M\xFCller", Src::Windows1252, 0},
    {"InvalidUtf8StaysAsItIs", "M\xC3\xBCller \xFC", "M\xC3\xBCller \xFC", Src::Windows1252, 0},
    {"InvalidUtf8WithMarkStaysAsItIs", "\xEF\xBB\xBFM\xFCller", "\xEF\xBB\xBFM\xFCller",
     Src::Windows1252, 0},
    {"Utf8", "M\xC3\xBCller \xE2\x82\xAC", "M\xFCller \x80", Src::Utf8, 0},
    {"Utf8MarkOnAscii", "\xEF\xBB\xBF\tBuchungs-Nr.", "\tBuchungs-Nr.", Src::Utf8, 0},
    {"Utf8WithoutEquivalent", "\xE2\x86\x92\xF0\x9F\x99\x82x", "??x", Src::Utf8, 2},
    {"Utf16Le", std::string("\xFF\xFEM\0\xFC\0\xAC\x20", 8), "M\xFC\x80", Src::Utf16, 0},
    {"Utf16Be", std::string("\xFE\xFF\0M\0\xFC", 6), "M\xFC", Src::Utf16, 0},
    {"Utf16SurrogatePair", std::string("\xFF\xFE\x3D\xD8\x42\xDEx\0", 8), "?x", Src::Utf16, 1},
    {"Utf16LoneSurrogateAndOddByte", std::string("\xFF\xFE\x00\xDCx\0y", 7), "?x?", Src::Utf16, 2},
};

class TextConversions : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(TextConversions, GiveWindows1252AndCountWhatHadNoEquivalent) {
    const ConversionCase& c = GetParam();
    std::string bytes = c.input;
    const Cp1252Conversion conversion = ConvertTextToCp1252(bytes);
    EXPECT_EQ(bytes, c.output);
    EXPECT_EQ(conversion.source, c.source);
    EXPECT_EQ(conversion.unmappable, c.unmappable);
}

INSTANTIATE_TEST_SUITE_P(Table, TextConversions, ::testing::ValuesIn(kConversions),
                         [](const auto& info) { return std::string(info.param.name); });

// Whatever follows a start that decides, the whole text stays as it is; a
// start that cannot decide (ASCII so far, valid UTF-8, a sequence cut at its
// end, a UTF-16 mark) says so.
TEST(CodePage, StartKeepsWindows1252OnlyWhenNoFollowingBytesCanChangeIt) {
    const struct {
        std::string start;
        bool decides;
    } kCases[] = {
        {"B\xFCro und mehr", true},
        {"\xC3(abc", true},  // a lead byte without its continuation
        {"\xEF\xBB\xBF"
         "B\xFCro und mehr",
         true},                    // a UTF-8 mark does not make it UTF-8
        {"abcdefgh", false},       // ASCII so far
        {"Erl\xC3\xB6se", false},  // valid UTF-8 so far
        {"abcd\xC3", false},       // cut inside a sequence
        {"ab\xE2\x82", false},     // cut inside a three-byte sequence
        {"\xFF\xFE"
         "B\xFCro und mehr",
         false},  // UTF-16
        {"\xFE\xFF"
         "B\xFCro und mehr",
         false},
        {"", false},
    };
    const std::string kFollowing[] = {"", "\xB6", "\x82\xAC", "\xC3\xA4", "x\xFC"};
    for (const auto& c : kCases) {
        EXPECT_EQ(StartKeepsWindows1252(c.start), c.decides) << c.start;
        if (!c.decides) continue;
        for (const std::string& following : kFollowing) {
            std::string text = c.start + following;
            const std::string before = text;
            EXPECT_EQ(ConvertTextToCp1252(text).source, Cp1252Conversion::Source::Windows1252)
                << c.start << following;
            EXPECT_EQ(text, before);
        }
    }
}

}  // namespace
}  // namespace belvaron
