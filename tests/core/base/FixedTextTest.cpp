#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/base/FixedText.h"

namespace belvaron {
namespace {

// Fills a field of N bytes with `text` and, when it is shorter, a zero byte
// followed by bytes that must not be read as text.
template <std::size_t N>
std::string RoundTrip(const std::string& text) {
    char field[N];
    std::memset(field, 'X', N);
    std::memcpy(field, text.data(), std::min(N, text.size()));
    if (text.size() < N) field[text.size()] = '\0';
    return std::string(FieldText(field));
}

// Short fields are scanned by a loop, long ones by memchr: both end at the
// first zero byte and never go past the field.
TEST(FieldText, EndsAtTheFirstZeroOrTheFieldsEnd) {
    const std::string tenFull = "0123456789";
    const std::string fortyFull(40, 'n');
    const struct {
        std::string text;
        std::string expected10;
        std::string expected40;
    } cases[] = {
        {"", "", ""},
        {"EUR", "EUR", "EUR"},
        {"012345678", "012345678", "012345678"},          // one byte short of 10
        {tenFull, tenFull, tenFull},                      // fills 10, no zero byte
        {fortyFull, fortyFull.substr(0, 10), fortyFull},  // fills 40
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RoundTrip<10>(c.text), c.expected10) << c.text;
        EXPECT_EQ(RoundTrip<40>(c.text), c.expected40) << c.text;
    }
}

}  // namespace
}  // namespace belvaron
