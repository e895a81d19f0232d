#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/datev/AccountCheck.h"
#include "core/datev/csv/ChartFile.h"

namespace belvaron {
namespace {

struct MarkerCase {
    const char* rest;
    int32_t state;
};

class Marker : public testing::TestWithParam<MarkerCase> {};

TEST_P(Marker, GivesTheState) { EXPECT_EQ(MarkerState(GetParam().rest), GetParam().state); }

INSTANTIATE_TEST_SUITE_P(Precedence, Marker,
                         testing::Values(MarkerCase{"", 1}, MarkerCase{"\r", 1},
                                         MarkerCase{"AV", 5}, MarkerCase{"AM", 4},
                                         MarkerCase{"R", 3}, MarkerCase{"S", 2},
                                         MarkerCase{"AV AM", 4}, MarkerCase{"AM R", 3},
                                         MarkerCase{"R S", 2}, MarkerCase{"AV S", 2},
                                         MarkerCase{"s r am av", 1}, MarkerCase{"Erlöse", 1},
                                         MarkerCase{"Sammelkonto", 2}));

struct VariantCase {
    const char* name;
    ChartVariant variant;
};

class Variant : public testing::TestWithParam<VariantCase> {};

TEST_P(Variant, ComesFromTheName) {
    EXPECT_EQ(ChartVariantOf(GetParam().name), GetParam().variant);
}

INSTANTIATE_TEST_SUITE_P(Names, Variant,
                         testing::Values(VariantCase{"SK3_DATEV.kon", ChartVariant::SK3},
                                         VariantCase{"SK4_DATEV.kon", ChartVariant::SK4},
                                         VariantCase{"SK3_SK4.kon", ChartVariant::SK4},
                                         VariantCase{"SK4_SK3.kon", ChartVariant::SK4},
                                         VariantCase{"sk3_datev.kon", ChartVariant::None},
                                         VariantCase{"kontenrahmen.kon", ChartVariant::None},
                                         VariantCase{"", ChartVariant::None}));

struct ChartCase {
    const char* name;
    std::string text;
    std::vector<std::pair<int32_t, int32_t>> states;  // account, state
    std::optional<int32_t> lastPlain;
};

std::ostream& operator<<(std::ostream& os, const ChartCase& c) { return os << c.name; }

class Chart : public testing::TestWithParam<ChartCase> {};

TEST_P(Chart, SetsTheStates) {
    std::vector<int32_t> states(kAccountLimit, 0);
    const ChartReadResult result = ReadChart(GetParam().text, states);
    for (const auto& [account, state] : GetParam().states) {
        EXPECT_EQ(states[static_cast<std::size_t>(account)], state) << "account " << account;
    }
    EXPECT_EQ(result.lastPlainAccount, GetParam().lastPlain);
    EXPECT_FALSE(result.readError);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, Chart,
    testing::Values(
        ChartCase{"FinalLineBreakMarksAccountZero",
                  "4000, \r\n8400, AM\r\n",
                  {{0, 1}, {4000, 1}, {8400, 4}},
                  4000},
        ChartCase{"NoFinalLineBreakLeavesZero", "4000, \r\n8400, AM", {{0, 0}, {8400, 4}}, 4000},
        ChartCase{"EmptyFileMarksZero", "", {{0, 1}}, std::nullopt},
        ChartCase{"LfLineEnds", "1400, S\n1410, \n", {{1400, 2}, {1410, 1}, {0, 1}}, 1410},
        ChartCase{"LaterLineOverrides",
                  "4000, S\r\n4000, \r\n4010, AV\r\n4010, R\r\n",
                  {{4000, 1}, {4010, 3}},
                  4000},
        ChartCase{"LastPlainIsTheLastPlainLineInFileOrder",
                  "9000, \r\n4000, \r\n4010, S\r\n",
                  {{9000, 1}},
                  4000},
        ChartCase{"LastPlainEvenWhenOverriddenLater", "9000, \r\n9000, S\r\n", {{9000, 2}}, 9000},
        ChartCase{"LineWithoutCommaRunsOn",
                  "4000\r\n4010, S\r\n4020, \r\n",
                  {{4000, 2}, {4010, 0}, {4020, 1}},
                  4020},
        ChartCase{"CharacterAfterTheCommaIsSkipped",
                  "4000,S\r\n4010,,S\r\n",
                  {{4000, 1}, {4010, 2}},
                  4000},
        ChartCase{"LineFeedRightAfterTheCommaEndsTheLine",
                  "4000,\n4010, S\n",
                  {{4000, 1}, {4010, 2}},
                  4000},
        ChartCase{"LeadingBlanksAndZeros", "  0027, \r\n", {{27, 1}}, 27},
        ChartCase{"MarkerBeyond254CharactersIsNotSeen",
                  "4000, " + std::string(254, 'x') + "S\r\n4010, \r\n",
                  {{4000, 1}, {4010, 1}},
                  4010},
        ChartCase{"NumbersOutsideTheTableAreSkipped",
                  "-5, \r\n10000000, \r\n9999999, \r\n99999999999, S\r\n",
                  {{9999999, 1}, {0, 1}},
                  9999999}),
    [](const testing::TestParamInfo<ChartCase>& info) { return std::string(info.param.name); });

TEST(ChartFile, ShippedChartsReadAsTheirReadmeCounts) {
    struct Shipped {
        const char* file;
        int plain, collective, am, av;
        int32_t lastPlain;
    };
    for (const Shipped& s : {Shipped{"SK3_DATEV.kon", 1141, 2, 60, 75, 9090},
                             Shipped{"SK4_DATEV.kon", 1081, 2, 58, 54, 9994}}) {
        std::FILE* f =
            std::fopen((std::string(BELVARON_SOURCE_DIR) + "/data/" + s.file).c_str(), "rb");
        ASSERT_NE(f, nullptr) << s.file;
        std::vector<int32_t> states(kAccountLimit, 0);
        const ChartReadResult result = ReadChart(f, states);
        std::fclose(f);
        int counts[6] = {};
        for (std::size_t n = 1; n < states.size(); ++n) ++counts[states[n]];
        EXPECT_EQ(counts[1], s.plain) << s.file;
        EXPECT_EQ(counts[2], s.collective) << s.file;
        EXPECT_EQ(counts[3], 0) << s.file;
        EXPECT_EQ(counts[4], s.am) << s.file;
        EXPECT_EQ(counts[5], s.av) << s.file;
        EXPECT_EQ(result.lastPlainAccount, s.lastPlain) << s.file;
    }
}

// The account check and the CSV export's automatic-account warnings read a
// chart file through one reader: within the account table they see the same
// automatic accounts; the CSV warnings also keep numbers beyond the table.
class ChartReaders : public testing::TestWithParam<std::string> {};

std::vector<int32_t> AutomaticAccountsOfTheCheck(const std::string& path) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return {};
    std::vector<int32_t> states(kAccountLimit, 0);
    ReadChart(f, states);
    std::fclose(f);
    std::vector<int32_t> automatic;
    for (std::size_t n = 0; n < states.size(); ++n) {
        if (states[n] == account_state::kAutomaticAM || states[n] == account_state::kAutomaticAV) {
            automatic.push_back(static_cast<int32_t>(n));
        }
    }
    return automatic;
}

std::vector<int32_t> WithinTheTable(std::vector<int32_t> accounts) {
    std::erase_if(accounts, [](int32_t n) { return n < 0 || n >= kAccountLimit; });
    return accounts;
}

TEST_P(ChartReaders, SeeTheSameAutomaticAccounts) {
    const auto ofCsv = csv::ReadAutomaticAccounts(GetParam());
    ASSERT_TRUE(ofCsv.has_value()) << GetParam();
    const std::vector<int32_t> ofCheck = AutomaticAccountsOfTheCheck(GetParam());
    EXPECT_FALSE(ofCheck.empty()) << GetParam();
    EXPECT_EQ(WithinTheTable(*ofCsv), ofCheck) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Files, ChartReaders,
                         testing::Values(std::string(BELVARON_TEST_DATA) +
                                             "/datev/chart_line_rules.kon",
                                         std::string(BELVARON_SOURCE_DIR) + "/data/SK3_DATEV.kon",
                                         std::string(BELVARON_SOURCE_DIR) + "/data/SK4_DATEV.kon"));

TEST(ChartReaders, LineRulesGiveTheseAutomaticAccounts) {
    // A line without a comma runs on into the next one ("4000" takes the
    // markers of the 8400 line); a later line overrides; the character after
    // the comma is skipped; markers beyond 254 characters are not seen; the
    // last line needs no line break.
    const auto ofCsv =
        csv::ReadAutomaticAccounts(std::string(BELVARON_TEST_DATA) + "/datev/chart_line_rules.kon");
    ASSERT_TRUE(ofCsv.has_value());
    EXPECT_EQ(*ofCsv, (std::vector<int32_t>{3400, 4000, 8300, 8500, 12345678}));
}

}  // namespace
}  // namespace belvaron
