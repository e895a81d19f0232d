#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "CsvReader.h"
#include "FakeUi.h"
#include "TempDir.h"
#include "core/datev/DatevRange.h"
#include "core/datev/csv/CsvCheck.h"
#include "core/datev/csv/DatevCsv.h"

namespace belvaron {
namespace {

using test::FakeUi;
using test::TestBooking;

// One case: a change to good settings, the range 01.01.2024..31.12.2024, a
// booking numbered 7 (a second, good booking 8 follows it) and no chart;
// then the exact problem lines expected.
struct Input {
    DatevSettings settings = test::GoodSettings();
    std::string from = "01.01.2024";
    std::string to = "31.12.2024";
    TestBooking booking{.no = 7};
    csv::ChartInfo chart;
};

struct CheckCase {
    const char* name;
    void (*change)(Input&);
    std::vector<std::string> errors;
    std::vector<std::string> warnings;
    int zeroLeftOut = 0;
};

void PrintTo(const CheckCase& c, std::ostream* os) { *os << c.name; }

void Sk3Chart(Input& in) {
    in.chart = {.name = "SK3_DATEV.kon",
                .variant = ChartVariant::SK3,
                .known = true,
                .automaticAccounts = {3400, 8400}};
}

const CheckCase kCases[] = {
    {"AllGood", [](Input&) {}, {}, {}},
    {"BeraterLowest", [](Input& in) { in.settings.beraternummer = 1001; }, {}, {}},
    {"BeraterHighest", [](Input& in) { in.settings.beraternummer = 9999999; }, {}, {}},
    {"BeraterTooLow",
     [](Input& in) { in.settings.beraternummer = 1000; },
     {"Beraternummer 1000 liegt nicht zwischen 1001 und 9999999."},
     {}},
    {"BeraterTooHigh",
     [](Input& in) { in.settings.beraternummer = 10000000; },
     {"Beraternummer 10000000 liegt nicht zwischen 1001 und 9999999."},
     {}},
    {"MandantZero",
     [](Input& in) { in.settings.mandantennummer = 0; },
     {"Mandantennummer 0 liegt nicht zwischen 1 und 99999."},
     {}},
    {"MandantBounds", [](Input& in) { in.settings.mandantennummer = 99999; }, {}, {}},
    {"MandantTooHigh",
     [](Input& in) { in.settings.mandantennummer = 100000; },
     {"Mandantennummer 100000 liegt nicht zwischen 1 und 99999."},
     {}},
    {"LengthThree",
     [](Input& in) { in.settings.kontonummernlaenge = 3; },
     {"Kontonummernlänge 3 liegt nicht zwischen 4 und 8."},
     {}},
    {"LengthNine",
     [](Input& in) { in.settings.kontonummernlaenge = 9; },
     {"Kontonummernlänge 9 liegt nicht zwischen 4 und 8."},
     {}},
    {"FiscalStartNoDay",
     [](Input& in) { in.settings.wjBeginnTag = 31, in.settings.wjBeginnMonat = 2; },
     {"Beginn des Wirtschaftsjahres 31.02. ist kein gültiger Tag."},
     {}},
    {"FiscalStartLeapDay",
     [](Input& in) { in.settings.wjBeginnTag = 29, in.settings.wjBeginnMonat = 2; },
     {"Beginn des Wirtschaftsjahres 29.02. ist kein gültiger Tag."},
     {}},
    {"ChartOfAccounts05",
     [](Input& in) { SetField(in.settings.sachkontenrahmen, "05"); },
     {"Sachkontenrahmen \"05\" ist weder 03 (SKR 03) noch 04 (SKR 04)."},
     {}},
    {"FromNotNormalised",
     [](Input& in) { in.from = "1.1.2024"; },
     {"Datum \"vom\" (1.1.2024) ist kein gültiges Datum."},
     {}},
    {"ToNoDay",
     [](Input& in) { in.to = "31.04.2024"; },
     {"Datum \"bis\" (31.04.2024) ist kein gültiges Datum."},
     {}},
    {"Reversed",
     [](Input& in) { in.from = "02.01.2024", in.to = "01.01.2024"; },
     {"Datum \"vom\" (02.01.2024) liegt nach dem Datum \"bis\" (01.01.2024)."},
     {}},
    // A range over several years is cut into batches, not refused.
    {"TwoCalendarYearsPass", [](Input& in) { in.from = "01.12.2023"; }, {}, {}},
    {"TwoFiscalYearsPass",
     [](Input& in) {
         in.settings.wjBeginnMonat = 7, in.from = "01.06.2024", in.to = "31.07.2024";
         in.booking.date = "15.06.2024";
     },
     {},
     {}},
    {"OneFiscalYearBeforeItsStartMonth",
     [](Input& in) { in.settings.wjBeginnMonat = 7, in.to = "30.06.2024"; },
     {},
     {}},
    {"NothingInRange",
     [](Input& in) { in.from = "01.01.2025", in.to = "31.01.2025"; },
     {"Im Zeitraum 01.01.2025 bis 31.01.2025 liegt keine Buchung mit einem Betrag ungleich 0."},
     {}},
    {"SollZero",
     [](Input& in) { in.booking.soll = 0; },
     {"Buchung 7: Soll-Konto 0 ist keine gültige Kontonummer."},
     {}},
    {"HabenNegative",
     [](Input& in) { in.booking.haben = -5; },
     {"Buchung 7: Haben-Konto -5 ist keine gültige Kontonummer."},
     {}},
    {"AccountOfLengthPlusOne", [](Input& in) { in.booking.soll = 99999; }, {}, {}},
    {"AccountTooLong",
     [](Input& in) { in.booking.soll = 123456; },
     {"Buchung 7: Soll-Konto 123456 hat mehr als 5 Stellen."},
     {}},
    {"AccountLongerWithLength8",
     [](Input& in) { in.settings.kontonummernlaenge = 8, in.booking.haben = 123456789; },
     {},
     {}},
    {"AmountWithoutDecimals",
     [](Input& in) { in.booking.amount = "100"; },
     {"Buchung 7: Betrag \"100\" hat nicht die Form 1.234,56."},
     {}},
    {"AmountOneDecimal",
     [](Input& in) { in.booking.amount = "1,5"; },
     {"Buchung 7: Betrag \"1,5\" hat nicht die Form 1.234,56."},
     {}},
    {"AmountLargest", [](Input& in) { in.booking.amount = "9.999.999.999,99"; }, {}, {}},
    {"AmountTooLarge",
     [](Input& in) { in.booking.amount = "10.000.000.000,00"; },
     {"Buchung 7: Betrag 10.000.000.000,00 ist größer als 9.999.999.999,99."},
     {}},
    {"AmountZeroLeftOut", [](Input& in) { in.booking.amount = "0,00"; }, {}, {}, 1},
    {"AmountZeroWithoutAccountLeftOut",
     [](Input& in) { in.booking.amount = "0", in.booking.soll = 0; },
     {},
     {},
     1},
    {"AmountTextIsNoNumber",
     [](Input& in) { in.booking.amount = "abc"; },
     {"Buchung 7: Betrag \"abc\" ist keine Zahl."},
     {}},
    {"AmountBlankIsNoNumber",
     [](Input& in) { in.booking.amount = "   "; },
     {"Buchung 7: Betrag \"   \" ist keine Zahl."},
     {}},
    {"AmountShiftedMemoTextIsNoNumber",
     [](Input& in) { in.booking.amount = "B\xFCrotechnik GmbH"; },
     {"Buchung 7: Betrag \"Bürotechnik GmbH\" ist keine Zahl."},
     {}},
    {"AmountZeroWithSignLeftOut", [](Input& in) { in.booking.amount = " -0,00 "; }, {}, {}, 1},
    {"KeyFiveDigits",
     [](Input& in) { in.booking.key = 10000; },
     {"Buchung 7: DATEV-Schlüssel 10000 hat mehr als 4 Stellen."},
     {}},
    {"BookingDateNoDay",
     [](Input& in) { in.booking.date = "31.02.2024"; },
     {"Buchung 7: Datum \"31.02.2024\" ist kein gültiges Datum."},
     {}},
    {"KeyOnAutomaticAccount",
     [](Input& in) { Sk3Chart(in), in.booking.key = 9; },
     {},
     {"Buchung 7: DATEV-Schlüssel 9 auf dem Automatikkonto 8400."}},
    {"KeyOnAutomaticSollAccount",
     [](Input& in) { Sk3Chart(in), in.booking.key = 9, in.booking.soll = 3400; },
     {},
     {"Buchung 7: DATEV-Schlüssel 9 auf dem Automatikkonto 3400."}},
    {"Key40OnAutomaticAccount", [](Input& in) { Sk3Chart(in), in.booking.key = 40; }, {}, {}},
    {"NoKeyOnAutomaticAccount", [](Input& in) { Sk3Chart(in); }, {}, {}},
    {"NoChartNoAutomaticCheck", [](Input& in) { in.booking.key = 9; }, {}, {}},
    {"ChartOfOtherVariant",
     [](Input& in) {
         Sk3Chart(in), in.booking.key = 9;
         SetField(in.settings.sachkontenrahmen, "04");
     },
     {},
     {"Die Kontenrahmen-Datei SK3_DATEV.kon gehört zu SKR 03, in den DATEV-Angaben ist aber der "
      "Sachkontenrahmen 04 eingestellt; die Automatikkonten wurden nicht geprüft."}},
    {"SameAccountTwice",
     [](Input& in) { in.booking.haben = 1200; },
     {},
     {"Buchung 7: Konto und Gegenkonto sind gleich (1200)."}},
    {"AllBookingProblemsAtOnce",
     [](Input& in) {
         in.booking.soll = 0, in.booking.haben = 123456, in.booking.amount = "12";
         in.booking.key = 12345, in.booking.date = "30.02.2024";
     },
     {"Buchung 7: Soll-Konto 0 ist keine gültige Kontonummer.",
      "Buchung 7: Haben-Konto 123456 hat mehr als 5 Stellen.",
      "Buchung 7: Betrag \"12\" hat nicht die Form 1.234,56.",
      "Buchung 7: DATEV-Schlüssel 12345 hat mehr als 4 Stellen.",
      "Buchung 7: Datum \"30.02.2024\" ist kein gültiges Datum."},
     {}},
};

class CsvCheckCases : public ::testing::TestWithParam<CheckCase> {};

TEST_P(CsvCheckCases, FindsExactlyTheExpectedProblems) {
    const CheckCase& c = GetParam();
    Input in;
    c.change(in);
    FakeUi ui;
    BookingStore store(10);
    test::Append(store, in.booking);
    test::Append(store, {.no = 8, .date = "01.01.2024"});
    const csv::CsvCheckResult r = csv::CheckDatevCsv(store, in.settings, in.from, in.to, in.chart);
    EXPECT_EQ(r.errors.lines, c.errors);
    EXPECT_EQ(r.warnings.lines, c.warnings);
    EXPECT_EQ(r.zeroLeftOut, c.zeroLeftOut);
}

INSTANTIATE_TEST_SUITE_P(Table, CsvCheckCases, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A range in a fiscal year that began in the calendar year before passes the
// checks, and its batch carries that year's start as WJ-Beginn.
TEST(CsvCheck, FiscalYearStartsInThePreviousCalendarYear) {
    BookingStore store(10);
    test::Append(store, {.no = 1, .date = "15.03.2024"});
    test::Append(store, {.no = 2, .date = "15.08.2024"});
    DatevSettings s = test::GoodSettings();
    s.wjBeginnTag = 1;
    s.wjBeginnMonat = 7;
    const struct {
        const char* from;
        const char* to;
        const char* wjBeginn;
    } ranges[] = {{"01.01.2024", "30.06.2024", "20230701"},
                  {"01.07.2024", "31.12.2024", "20240701"}};
    for (const auto& range : ranges) {
        SCOPED_TRACE(range.from);
        EXPECT_TRUE(csv::CheckDatevCsv(store, s, range.from, range.to, {}).errors.empty());
        test::TempDir dir;
        const DatevCsvResult r = WriteDatevCsv(store, s, range.from, range.to, dir.path(), {});
        ASSERT_EQ(r.files.size(), 1u);
        const auto records = test::ParseCsv(test::ReadFile(r.files[0]));
        ASSERT_FALSE(records.empty());
        ASSERT_EQ(records[0].size(), 31u);
        EXPECT_EQ(records[0][12].text, range.wjBeginn);  // header field 13, WJ-Beginn
        test::ExpectDatevRules(r.files[0]);
    }
}

TEST(CsvCheck, MessageListsTwentyProblemsThenTheRestCountedAndWhatToDo) {
    FakeUi ui;
    BookingStore store(100);
    for (int no = 1; no <= 25; ++no) test::Append(store, {.no = no, .soll = 0});
    DatevSettings s = test::GoodSettings();
    s.beraternummer = 0;
    const auto r = csv::CheckDatevCsv(store, s, "01.01.2024", "31.12.2024", {});
    const std::string text = csv::ErrorMessage(r);
    EXPECT_EQ(r.errors.total, 26);
    std::string expected =
        "(E:313)\nDer DATEV-Export wurde abgebrochen, es wurde keine Datei geschrieben.\n"
        "Bitte beheben Sie zuerst diese Fehler:\n"
        "- Beraternummer 0 liegt nicht zwischen 1001 und 9999999.";
    for (int no = 1; no <= 19; ++no) {
        expected +=
            "\n- Buchung " + std::to_string(no) + ": Soll-Konto 0 ist keine gültige Kontonummer.";
    }
    expected +=
        "\n… (6 weitere)\n\n"
        "Beraternummer, Mandantennummer, Kontonummernlänge, Beginn des Wirtschaftsjahres und "
        "Sachkontenrahmen tragen Sie in den DATEV-Angaben ein (die Werte nennt Ihnen Ihr "
        "Steuerberater).\n"
        "Konten korrigieren Sie mit der REPLACE-Liste (\"Konten ersetzen\") oder im "
        "Buchungseditor (Doppelklick auf die Buchung); Buchungen ohne Konto entfernt "
        "\"'0' Buch. löschen\". Für längere Kontonummern erhöhen Sie die Kontonummernlänge in "
        "den DATEV-Angaben.";
    EXPECT_EQ(text, expected);
}

TEST(CsvCheck, ErrorsStopTheExportWithOneMessageAndNoFile) {
    FakeUi ui;
    BookingStore store(10);
    test::Append(store, {.no = 3, .soll = 0, .key = 9});
    test::TempDir dir;
    const DatevSettings datevSettings = test::GoodSettings();
    const DatevRange range{"01.01.2024", "31.12.2024"};
    CsvRunOptions options;
    options.chart = {.name = "SK3_DATEV.kon",
                     .variant = ChartVariant::SK3,
                     .known = true,
                     .automaticAccounts = {8400}};
    const DatevCsvResult r = RunCsvExport(store, datevSettings, range, dir.path(), options);
    EXPECT_EQ(r.outcome, DatevCsvResult::Outcome::CheckFailed);
    ASSERT_EQ(r.notices.items().size(), 1u);
    const Notice& message = r.notices.items()[0];
    EXPECT_EQ(message.kind, NoticeKind::Plain);
    EXPECT_NE(message.text.find("- Buchung 3: Soll-Konto 0"), std::string::npos);
    // The warnings are in the same message, so the user sees everything at once.
    EXPECT_NE(message.text.find("Außerdem zu beachten:\n- Buchung 3: DATEV-Schlüssel 9 auf dem "
                                "Automatikkonto 8400."),
              std::string::npos);
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

}  // namespace
}  // namespace belvaron
