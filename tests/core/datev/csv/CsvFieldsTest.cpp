#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "TempDir.h"
#include "core/datev/csv/ChartFile.h"
#include "core/datev/csv/CsvFields.h"

namespace belvaron::csv {
namespace {

struct AmountCase {
    const char* text;
    int64_t cents;
    bool wellFormed;
    bool tooLarge;
};

class Amounts : public ::testing::TestWithParam<AmountCase> {};

TEST_P(Amounts, DigitsAreCentsAndTheFormIsChecked) {
    const AmountCase& c = GetParam();
    const Amount a = ParseAmount(c.text);
    EXPECT_EQ(a.cents, c.cents) << c.text;
    EXPECT_EQ(a.wellFormed, c.wellFormed) << c.text;
    EXPECT_EQ(a.tooLarge, c.tooLarge) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, Amounts,
    ::testing::Values(
        AmountCase{"1.234,56", 123456, true, false}, AmountCase{"119,00", 11900, true, false},
        AmountCase{"  -19,00 ", -1900, true, false}, AmountCase{"0,01", 1, true, false},
        AmountCase{"0,00", 0, true, false}, AmountCase{"-0,00", 0, true, false},
        AmountCase{"0", 0, false, false}, AmountCase{"100", 100, false, false},
        AmountCase{"1,5", 15, false, false}, AmountCase{"1,234", 1234, false, false},
        AmountCase{",50", 50, false, false}, AmountCase{"12 EUR,00", 1200, false, false},
        AmountCase{"1-2,00", 1200, false, false},
        AmountCase{"0009.999.999.999,99", 999999999999, true, false},
        AmountCase{"10.000.000.000,00", 0, true, true},
        AmountCase{"99999999999999999999999999,99", 0, true, true},
        AmountCase{"1234567890,12", 123456789012, true, false},
        AmountCase{"123456789012,00", 0, true, true}, AmountCase{"..1.,00", 100, true, false},
        AmountCase{" - 1,00", -100, false, false}, AmountCase{"1,00x", 100, false, false},
        AmountCase{"-", 0, false, false}, AmountCase{"", 0, false, false}));

// The rules of ParseAmount read plainly: the form checked on its own, then
// every digit of the text counted. The parser reads the usual texts in one
// pass; both must agree on every text.
Amount PlainAmount(std::string_view t) {
    Amount a;
    std::size_t i = 0;
    while (i < t.size() && t[i] == ' ') ++i;
    if (i < t.size() && t[i] == '-') ++i;
    bool digit = false;
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    while (i < t.size() && (isDigit(t[i]) || t[i] == '.')) digit |= isDigit(t[i++]);
    a.wellFormed = digit && i + 3 <= t.size() && t[i] == ',' && isDigit(t[i + 1]) &&
                   isDigit(t[i + 2]) && t.find_first_not_of(' ', i + 3) == std::string_view::npos;
    int significant = 0;
    for (const char c : t) {
        if (!isDigit(c) || (significant == 0 && c == '0')) continue;
        if (++significant > 12) {
            a.tooLarge = true;
            a.cents = 0;
            break;
        }
        a.cents = a.cents * 10 + (c - '0');
    }
    const auto first = t.find_first_not_of(' ');
    if (first != std::string_view::npos && t[first] == '-') a.cents = -a.cents;
    return a;
}

TEST(CsvFields, AmountsOfEveryShapeReadAsThePlainRulesSay) {
    static constexpr std::string_view kAlphabet = " -.,0123456789a\xB0";
    uint32_t state = 12345;
    auto next = [&state] { return (state = state * 1103515245u + 12345u) >> 16; };
    for (int round = 0; round < 50'000; ++round) {
        std::string text;
        const std::size_t length = next() % 18;
        // Mostly digits, so that many texts are well formed.
        for (std::size_t k = 0; k < length; ++k) {
            text += next() % 3 == 0 ? kAlphabet[next() % kAlphabet.size()]
                                    : static_cast<char>('0' + next() % 10);
        }
        if (next() % 2 == 0 && text.size() > 3) text[text.size() - 3] = ',';
        const Amount got = ParseAmount(text);
        const Amount want = PlainAmount(text);
        ASSERT_EQ(got.cents, want.cents) << '"' << text << '"';
        ASSERT_EQ(got.wellFormed, want.wellFormed) << '"' << text << '"';
        ASSERT_EQ(got.tooLarge, want.tooLarge) << '"' << text << '"';
    }
}

TEST(CsvFields, UmsatzHasADecimalCommaAndNoThousandsDot) {
    EXPECT_EQ(FormatUmsatz(123456), "1234,56");
    EXPECT_EQ(FormatUmsatz(-1900), "19,00");
    EXPECT_EQ(FormatUmsatz(1), "0,01");
    EXPECT_EQ(FormatUmsatz(999999999999), "9999999999,99");
    EXPECT_EQ(FormatUmsatz(INT64_MIN), "92233720368547758,08");
}

TEST(CsvFields, QuotedTextDoublesQuotesAndBlanksControlBytes) {
    std::string out;
    AppendQuoted(out, std::string("a\"b;c\td\r\ne\x01\xE4", 12));
    EXPECT_EQ(out, "\"a\"\"b;c d  e \xE4\"");
}

// Every byte value, with special bytes at both ends and next to each other.
TEST(CsvFields, QuotedTextOfEveryByteValue) {
    std::string text = "\"\x01";
    for (int b = 0; b < 256; ++b) text += static_cast<char>(b);
    text += "\"\"\n";
    std::string expected = "\"";
    for (const char c : text) {
        if (c == '"') {
            expected += "\"\"";
        } else {
            expected += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
        }
    }
    expected += '"';
    std::string out = "x";
    AppendQuoted(out, text);
    EXPECT_EQ(out, "x" + expected);
}

// One quote or control byte at each place of a 17-byte text of bytes above
// 0x7F: texts are copied eight bytes at a time when none of them is special.
class QuotedSpecialByte : public ::testing::TestWithParam<char> {};

TEST_P(QuotedSpecialByte, IsEscapedAtEveryPlace) {
    for (std::size_t place = 0; place < 17; ++place) {
        std::string text(17, '\xE4');
        text[place] = GetParam();
        std::string expected(17, '\xE4');
        expected[place] = ' ';
        if (GetParam() == '"') expected.replace(place, 1, "\"\"");
        std::string out;
        AppendQuoted(out, text);
        EXPECT_EQ(out, "\"" + expected + "\"") << "place " << place;
    }
}

INSTANTIATE_TEST_SUITE_P(CsvFields, QuotedSpecialByte,
                         ::testing::Values('"', '\0', '\x1F', '\r', '\n'));

TEST(ChartFile, VariantFromTheName) {
    EXPECT_EQ(ChartVariantOf("SK3_DATEV.kon"), ChartVariant::SK3);
    EXPECT_EQ(ChartVariantOf("SK4_DATEV.kon"), ChartVariant::SK4);
    EXPECT_EQ(ChartVariantOf("SK3_nach_SK4.kon"), ChartVariant::SK4);
    EXPECT_EQ(ChartVariantOf("sk3.kon"), ChartVariant::None);
    EXPECT_STREQ(SachkontenrahmenOf(ChartVariant::SK4), "04");
    EXPECT_STREQ(SachkontenrahmenOf(ChartVariant::None), "");
}

TEST(ChartFile, AutomaticAccountsAreTheAmAndAvLinesAsLastWritten) {
    const std::string chart =
        "8400, AM\r\n"
        "3400, AV\r\n"
        "1400, S\r\n"
        "1500, AM S\r\n"  // "S" wins over "AM"
        "4000, \r\n"
        "8300, \r\n"
        "8300, AM\r\n"  // a later line overrides
        "8120, AM\r\n"
        "8120, \r\n"
        "no comma AM\r\n"
        "  27,AV\n";  // the character after the comma is skipped: plain
    EXPECT_EQ(AutomaticAccountsOf(chart), (std::vector<int32_t>{3400, 8300, 8400}));
}

TEST(ChartFile, UnreadableFileIsNoChart) {
    test::TempDir dir;
    EXPECT_FALSE(ReadAutomaticAccounts(dir.File("missing.kon")).has_value());
    EXPECT_FALSE(ReadAutomaticAccounts("").has_value());
    EXPECT_FALSE(ReadAutomaticAccounts("/dev/zero").has_value());  // never read forever
    EXPECT_FALSE(ReadAutomaticAccounts(dir.path()).has_value());
    const auto accounts = ReadAutomaticAccounts(dir.Write("SK3_DATEV.kon", "8400, AM\r\n"));
    ASSERT_TRUE(accounts.has_value());
    EXPECT_EQ(*accounts, std::vector<int32_t>{8400});
}

}  // namespace
}  // namespace belvaron::csv
