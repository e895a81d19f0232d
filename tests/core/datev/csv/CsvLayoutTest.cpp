#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "core/datev/csv/CsvLayout.h"

namespace belvaron::csv {
namespace {

// The widest line there can be: every number at its longest, every text of
// quotes only (each written twice). It stays within the room reserved for it.
TEST(CsvLayout, WidestLineFitsItsRoom) {
    const std::string quotes(210, '"');
    BookingLine line;
    line.umsatzCents = INT64_MIN;
    line.wkz = std::string_view(quotes).substr(0, 3);
    line.konto = INT32_MIN;
    line.gegenkonto = INT32_MIN;
    line.buSchluessel = INT32_MAX;
    line.belegdatum = 20241231;
    line.belegfeld1 = std::string_view(quotes).substr(0, 36);
    line.buchungstext = std::string_view(quotes).substr(0, 60);
    line.buchungsnummer = INT32_MIN;
    line.langtext = quotes;
    line.festschreibung = INT32_MIN;
    std::string out = "x";
    AppendBookingLine(out, line);
    EXPECT_LE(out.size() - 1, BookingLineRoom(line));
    EXPECT_EQ(out.substr(out.size() - 2), "\r\n");
    EXPECT_EQ(out.substr(0, 22), "x92233720368547758,08;");
}

}  // namespace
}  // namespace belvaron::csv
