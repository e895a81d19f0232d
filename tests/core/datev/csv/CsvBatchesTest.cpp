#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "CsvReader.h"
#include "TempDir.h"
#include "core/base/Format.h"
#include "core/datev/csv/CsvBatches.h"
#include "core/datev/csv/CsvFields.h"
#include "core/datev/csv/DatevCsv.h"

namespace belvaron {
namespace {

using test::ParseCsv;
using test::ReadFile;
using test::TempDir;

// ---- Belegfeld 1 from the document number ----

struct DocumentCase {
    const char* name;
    std::string beleg;
    std::string expected;
};

class DocumentNumbers : public ::testing::TestWithParam<DocumentCase> {};

TEST_P(DocumentNumbers, KeepOnlyDatevsCharacterSet) {
    EXPECT_EQ(csv::DocumentNumber(GetParam().beleg), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DocumentNumbers,
    ::testing::Values(DocumentCase{"Plain", "RE-25-001", "RE-25-001"},
                      DocumentCase{"BlanksAndUnderscore", " RE 25_001 ", "RE25001"},
                      DocumentCase{"Umlaut", "Geb\xFChr-7", "Gebhr-7"},
                      DocumentCase{"EverySign", "$&%*+-/", "$&%*+-/"},
                      DocumentCase{"NothingLeft", "_ .\xE4", ""}, DocumentCase{"Empty", "", ""},
                      DocumentCase{"CutAt36", std::string(40, 'A') + "B", std::string(36, 'A')}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- The plan of the batches ----

struct Expected {
    int32_t from, to, wj;
    int part, parts;
    std::vector<std::size_t> items;
};

struct PlanCase {
    const char* name;
    std::vector<int32_t> keys;  // store order
    int32_t from, to;
    int wjTag, wjMonat;
    DatevBatchPeriod period;
    std::size_t max;
    std::vector<Expected> batches;
};

class Plans : public ::testing::TestWithParam<PlanCase> {};

TEST_P(Plans, CutTheRangeAsExpected) {
    const PlanCase& c = GetParam();
    const auto batches =
        csv::PlanBatches(c.keys, c.from, c.to, c.wjTag, c.wjMonat, c.period, c.max);
    ASSERT_EQ(batches.size(), c.batches.size());
    for (std::size_t i = 0; i < batches.size(); ++i) {
        SCOPED_TRACE("batch " + std::to_string(i));
        const Expected& e = c.batches[i];
        EXPECT_EQ(batches[i].fromKey, e.from);
        EXPECT_EQ(batches[i].toKey, e.to);
        EXPECT_EQ(batches[i].wjBeginn, e.wj);
        EXPECT_EQ(batches[i].part, e.part);
        EXPECT_EQ(batches[i].parts, e.parts);
        EXPECT_EQ(batches[i].items, e.items);
    }
}

constexpr auto Y = DatevBatchPeriod::FiscalYear;
constexpr auto M = DatevBatchPeriod::Month;

INSTANTIATE_TEST_SUITE_P(
    Cases, Plans,
    ::testing::Values(PlanCase{"OneYearIsTheWholeRange",
                               {20240305, 20240101, 20241120},
                               20240101,
                               20241231,
                               1,
                               1,
                               Y,
                               9,
                               {{20240101, 20241231, 20240101, 1, 1, {0, 1, 2}}}},
                      PlanCase{"CalendarYearsStoreOrderKept",
                               {20250110, 20240310, 20250105},
                               20240301,
                               20250131,
                               1,
                               1,
                               Y,
                               9,
                               {{20240301, 20241231, 20240101, 1, 1, {1}},
                                {20250101, 20250131, 20250101, 1, 1, {0, 2}}}},
                      PlanCase{"FiscalYearFromJulyCutAtNewYear",
                               {20230815, 20240110, 20240701},
                               20230701,
                               20240930,
                               1,
                               7,
                               Y,
                               9,
                               {{20230701, 20231231, 20230701, 1, 1, {0}},
                                {20240101, 20240630, 20230701, 1, 1, {1}},
                                {20240701, 20240930, 20240701, 1, 1, {2}}}},
                      PlanCase{"FiscalYearFromTheFifteenth",
                               {20240314, 20240315},
                               20240301,
                               20240331,
                               15,
                               3,
                               M,
                               9,
                               {{20240301, 20240314, 20230315, 1, 1, {0}},
                                {20240315, 20240331, 20240315, 1, 1, {1}}}},
                      PlanCase{"MonthsClippedToTheRangeEmptyMonthsLeftOut",
                               {20240105, 20240330, 20240105},
                               20240103,
                               20240330,
                               1,
                               1,
                               M,
                               9,
                               {{20240103, 20240131, 20240101, 1, 1, {0, 2}},
                                {20240301, 20240330, 20240101, 1, 1, {1}}}},
                      PlanCase{"OverTheLimitCutAtMonthBoundaries",
                               {20240110, 20240111, 20240220, 20240221, 20240405},
                               20240101,
                               20241231,
                               1,
                               1,
                               Y,
                               3,
                               {{20240101, 20240131, 20240101, 1, 1, {0, 1}},
                                {20240201, 20241231, 20240101, 1, 1, {2, 3, 4}}}},
                      PlanCase{"OneMonthOverTheLimitCutByCount",
                               {20240201, 20240110, 20240202, 20240203, 20240204},
                               20240101,
                               20240331,
                               1,
                               1,
                               Y,
                               3,
                               {
                                   {20240101, 20240131, 20240101, 1, 1, {1}},
                                   {20240201, 20240229, 20240101, 1, 2, {0, 2, 3}},
                                   {20240201, 20240229, 20240101, 2, 2, {4}},
                               }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProposedDateTo, IsTheEndOfTheFirstFiscalYearWhenTheRangeGoesBeyond) {
    EXPECT_EQ(csv::ProposedDateTo("05.03.2023", "20.11.2025", 1, 1), "31.12.2023");
    EXPECT_EQ(csv::ProposedDateTo("15.08.2024", "20.11.2025", 1, 7), "30.06.2025");
    EXPECT_EQ(csv::ProposedDateTo("29.02.2024", "01.03.2025", 1, 3), "29.02.2024");
    EXPECT_EQ(csv::ProposedDateTo("01.03.2024", "01.03.2025", 1, 3), "28.02.2025");
    EXPECT_EQ(csv::ProposedDateTo("05.03.2023", "20.11.2023", 1, 1), "20.11.2023");
    EXPECT_EQ(csv::ProposedDateTo("", "20.11.2025", 1, 1), "20.11.2025");
    EXPECT_EQ(csv::ProposedDateTo("05.03.2023", "20.11.2025", 30, 2), "20.11.2025");
}

// ---- Whole runs: golden files ----

const std::string kGoldenDir = BELVARON_TEST_DATA "/datev/csv/";

// Three fiscal years from 01.07.: document numbers with blanks, '_',
// umlauts, only dropped characters and none; a text over 60 bytes.
void FillThreeYears(BookingStore& store) {
    const test::TestBooking bookings[] = {
        {.no = 101, .date = "10.07.2022", .beleg = "RE 25_001", .name = "Kunde"},
        {.no = 102, .date = "15.12.2022", .beleg = "Geb\xFChr", .purpose = "Kontof\xFChrung"},
        {.no = 103, .date = "03.01.2023", .beleg = "", .amount = "-50,00"},
        {.no = 104, .date = "30.06.2023", .beleg = "_ _"},
        {.no = 105,
         .date = "01.07.2023",
         .beleg = "UST-12",
         .name = "Finanzamt M\xFCnchen f\xFCr K\xF6rperschaften",
         .purpose = "Umsatzsteuer-Vorauszahlung Dezember 2022",
         .soll = 1780,
         .haben = 1200},
        {.no = 106, .date = "20.02.2024", .beleg = "A/1+2$%&*"},
        {.no = 107, .date = "31.12.2024", .beleg = "RE-24-099"},
        {.no = 108, .date = "20.06.2025", .beleg = "RE-25-001", .key = 9},
    };
    for (const auto& b : bookings) test::Append(store, b);
}

// Four months of 2024 with 2, 2, 1 and 2 bookings: over a limit of 3 per
// file, the year's batch is cut where a month ends.
void FillFourMonths(BookingStore& store) {
    const test::TestBooking bookings[] = {
        {.no = 201, .date = "08.01.2024", .beleg = "RE-201"},
        {.no = 202, .date = "31.01.2024", .beleg = "RE-202", .amount = "-12,34"},
        {.no = 204, .date = "14.02.2024", .beleg = "RE-204"},
        {.no = 203, .date = "01.02.2024", .beleg = "RE-203", .key = 9},
        {.no = 205, .date = "29.03.2024", .beleg = "RE-205"},
        {.no = 206, .date = "02.04.2024", .beleg = "RE-206"},
        {.no = 207, .date = "30.04.2024", .beleg = "RE-207", .amount = "1.000,00"},
    };
    for (const auto& b : bookings) test::Append(store, b);
}

// Five bookings in March 2024: over a limit of 2 per file, the one month is
// cut by count into numbered parts of the same range, in store order.
void FillOneMonth(BookingStore& store) {
    const test::TestBooking bookings[] = {
        {.no = 301, .date = "04.03.2024", .beleg = "K-301"},
        {.no = 302, .date = "01.03.2024", .beleg = "K-302"},
        {.no = 303, .date = "15.03.2024", .beleg = "K-303", .amount = "-5,00"},
        {.no = 304, .date = "31.03.2024", .beleg = "K-304"},
        {.no = 305, .date = "20.03.2024", .beleg = "K-305"},
    };
    for (const auto& b : bookings) test::Append(store, b);
}

struct GoldenCase {
    const char* name;
    void (*fill)(BookingStore&);
    const char* from;
    const char* to;
    int wjMonat;
    DatevBatchPeriod period;
    std::size_t maxPerFile;
    int written;
    const char* folder;
    std::vector<std::string> files;
};

void PrintTo(const GoldenCase& c, std::ostream* out) { *out << c.name; }

class GoldenBatches : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(GoldenBatches, EveryFileEqualsItsGoldenFileAndPassesTheRules) {
    const GoldenCase& c = GetParam();
    BookingStore store{20};
    c.fill(store);
    DatevSettings settings = test::GoodSettings();
    settings.wjBeginnMonat = c.wjMonat;
    settings.batchPeriod = c.period;
    CsvRunOptions options;
    options.createdAt = "20250701120000000";
    options.maxBookingsPerFile = c.maxPerFile;
    TempDir dir;
    const DatevCsvResult r = WriteDatevCsv(store, settings, c.from, c.to, dir.path(), options);
    ASSERT_EQ(r.outcome, DatevCsvResult::Outcome::Written);
    EXPECT_EQ(r.written, c.written);
    EXPECT_TRUE(r.notices.empty());
    std::vector<std::string> expected;
    for (const std::string& name : c.files) expected.push_back(dir.File(name));
    EXPECT_EQ(r.files, expected);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}),
              static_cast<std::ptrdiff_t>(c.files.size()));
    const bool update = std::getenv("BELVARON_UPDATE_GOLDEN") != nullptr;
    for (const std::string& name : c.files) {
        SCOPED_TRACE(name);
        const std::string bytes = ReadFile(dir.File(name));
        const std::string golden = kGoldenDir + c.folder + "/" + name;
        if (update) {
            std::filesystem::create_directories(kGoldenDir + c.folder);
            std::ofstream(golden, std::ios::binary) << bytes;
        }
        EXPECT_EQ(bytes, ReadFile(golden));
        EXPECT_EQ(test::DatevRuleProblems(bytes), std::vector<std::string>{});
        EXPECT_LE(ParseCsv(bytes).size(), 2 + c.maxPerFile);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GoldenBatches,
    ::testing::Values(
        GoldenCase{"OnePerFiscalAndCalendarYear",
                   FillThreeYears,
                   "10.07.2022",
                   "20.06.2025",
                   7,
                   Y,
                   kMaxBookingsPerFile,
                   8,
                   "years",
                   {CsvFileName(20220710, 20221231, 1), CsvFileName(20230101, 20230630, 1),
                    CsvFileName(20230701, 20231231, 1), CsvFileName(20240101, 20240630, 1),
                    CsvFileName(20240701, 20241231, 1), CsvFileName(20250101, 20250620, 1)}},
        GoldenCase{"OnePerMonth",
                   FillThreeYears,
                   "10.07.2022",
                   "20.06.2025",
                   7,
                   M,
                   kMaxBookingsPerFile,
                   8,
                   "months",
                   {CsvFileName(20220710, 20220731, 1), CsvFileName(20221201, 20221231, 1),
                    CsvFileName(20230101, 20230131, 1), CsvFileName(20230601, 20230630, 1),
                    CsvFileName(20230701, 20230731, 1), CsvFileName(20240201, 20240229, 1),
                    CsvFileName(20241201, 20241231, 1), CsvFileName(20250601, 20250620, 1)}},
        GoldenCase{"OverTheLimitCutAtMonthBoundaries",
                   FillFourMonths,
                   "01.01.2024",
                   "30.04.2024",
                   1,
                   Y,
                   3,
                   7,
                   "limit_months",
                   {CsvFileName(20240101, 20240131, 1), CsvFileName(20240201, 20240331, 1),
                    CsvFileName(20240401, 20240430, 1)}},
        GoldenCase{"OneMonthOverTheLimitCutByCount",
                   FillOneMonth,
                   "01.03.2024",
                   "31.03.2024",
                   1,
                   Y,
                   2,
                   5,
                   "limit_parts",
                   {CsvFileName(20240301, 20240331, 1), CsvFileName(20240301, 20240331, 2),
                    CsvFileName(20240301, 20240331, 3)}}),
    [](const auto& info) { return std::string(info.param.name); });

// More than 99,999 bookings in one fiscal year: cut where a month ends, so
// the two files carry periods that do not overlap.
TEST(LargeBatch, IsCutAtAMonthBoundary) {
    BookingStore store{110'001};
    for (int no = 1; no <= 110'000; ++no) {
        test::Append(store, {.no = no, .date = no <= 60'000 ? "15.01.2024" : "10.02.2024"});
    }
    CsvRunOptions options;
    options.createdAt = "20240401120000000";
    TempDir dir;
    const DatevCsvResult r =
        WriteDatevCsv(store, test::GoodSettings(), "01.01.2024", "31.03.2024", dir.path(), options);
    ASSERT_EQ(r.outcome, DatevCsvResult::Outcome::Written);
    EXPECT_EQ(r.written, 110'000);
    ASSERT_EQ(r.files, (std::vector<std::string>{dir.File(CsvFileName(20240101, 20240131, 1)),
                                                 dir.File(CsvFileName(20240201, 20240331, 1))}));
    const std::string first = ReadFile(r.files[0]), second = ReadFile(r.files[1]);
    EXPECT_EQ(test::DatevRuleProblems(first), std::vector<std::string>{});
    EXPECT_EQ(test::DatevRuleProblems(second), std::vector<std::string>{});
    const auto a = ParseCsv(first), b = ParseCsv(second);
    ASSERT_EQ(a.size(), 2u + 60'000u);
    ASSERT_EQ(b.size(), 2u + 50'000u);
    EXPECT_EQ(a[0][16].text, "Buchungen 01.01.-31.01.2024");
    EXPECT_EQ(b[0][16].text, "Buchungen 01.02.-31.03.2024");
    EXPECT_EQ(a.back()[21].text, "60000");
    EXPECT_EQ(b[2][21].text, "60001");
}

// A rule the check itself must catch, so that a passing file means something.
TEST(DatevRules, CatchAFileThatBreaksThem) {
    BookingStore store{2};
    test::Append(store, {.date = "05.03.2024"});
    TempDir dir;
    CsvRunOptions options;
    options.createdAt = "20240401120000000";
    const DatevCsvResult r =
        WriteDatevCsv(store, test::GoodSettings(), "01.03.2024", "31.03.2024", dir.path(), options);
    ASSERT_EQ(r.files.size(), 1u);
    std::string bytes = ReadFile(r.files[0]);
    EXPECT_EQ(test::DatevRuleProblems(bytes), std::vector<std::string>{});
    bytes.replace(bytes.find(";20240301;"), 10, ";20230301;");  // Datum vom in another year
    bytes.replace(bytes.find("\"R-1\""), 5, "\"R_1\"");
    EXPECT_EQ(test::DatevRuleProblems(bytes),
              (std::vector<std::string>{"line 1: Datum vom/bis in two calendar years",
                                        "line 1: Datum vom/bis outside the fiscal year",
                                        "line 3: Belegfeld 1 \"R_1\""}));
}

}  // namespace
}  // namespace belvaron
