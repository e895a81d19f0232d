#include <gtest/gtest.h>

#include <cstring>
#include <utility>

#include "core/base/FixedText.h"
#include "core/bookings/BookingEditor.h"

namespace belvaron {
namespace {

BookingRecord Sample() {
    BookingRecord b{};
    b.bookingNo = 12;
    SetField(b.date, "01.02.2005");
    SetField(b.beleg, "R-1");
    SetField(b.name, "Mueller");
    SetField(b.purpose, "Rechnung");
    b.sollAccount = 1200;
    b.habenAccount = 8400;
    b.vatRate = 19;
    SetField(b.amount, "119,00");
    SetField(b.currency, "EUR");
    b.datevKey = 40;
    b.redated = 1;
    return b;
}

TEST(BookingEditor, ShowsEveryFieldOfTheBooking) {
    const EditorTexts t = ReadEditorTexts(Sample());
    EXPECT_EQ(At(t, EditorField::BookingNo), "12");
    EXPECT_EQ(At(t, EditorField::Date), "01.02.2005");
    EXPECT_EQ(At(t, EditorField::DatevKey), "40");
    EXPECT_EQ(At(t, EditorField::SollAccount), "1200");
    EXPECT_EQ(At(t, EditorField::HabenAccount), "8400");
    EXPECT_EQ(At(t, EditorField::VatRate), "19");
    EXPECT_EQ(At(t, EditorField::Amount), "119,00");
    EXPECT_EQ(At(t, EditorField::Currency), "EUR");
    EXPECT_EQ(At(t, EditorField::Beleg), "R-1");
    EXPECT_EQ(At(t, EditorField::Name), "Mueller");
    EXPECT_EQ(At(t, EditorField::Purpose), "Rechnung");
}

TEST(BookingEditor, FullFieldIsShownAndStoredCompletely) {
    BookingRecord b = Sample();
    std::memcpy(b.beleg, "0123456789", 10);  // no terminator
    EditorTexts t = ReadEditorTexts(b);
    EXPECT_EQ(At(t, EditorField::Beleg), "0123456789");
    At(t, EditorField::Beleg) = "ABCDEFGHIJ";
    ASSERT_TRUE(WriteEditorTexts(t, b).ok);
    EXPECT_EQ(std::string(b.beleg, 10), "ABCDEFGHIJ");
    EXPECT_EQ(FieldText(b.name), "Mueller");
}

TEST(BookingEditor, WritesTextsAsEnteredAndDateAndAmountInTheirStoredForm) {
    BookingRecord b = Sample();
    EditorTexts t = ReadEditorTexts(b);
    At(t, EditorField::Date) = "1.2.05";
    At(t, EditorField::SollAccount) = "  -4711 ";
    At(t, EditorField::DatevKey) = "+0";
    At(t, EditorField::Amount) = "1.234,5";
    At(t, EditorField::Purpose) = "";
    At(t, EditorField::Name) = " M\xfcller ";
    ASSERT_TRUE(WriteEditorTexts(t, b).ok);
    EXPECT_EQ(std::string(b.date, sizeof b.date),
              std::string("01.02.2005") + std::string(10, '\0'));
    EXPECT_EQ(b.sollAccount, -4711);
    EXPECT_EQ(b.datevKey, 0);
    EXPECT_EQ(FieldText(b.amount), "1.234,50");
    EXPECT_EQ(FieldText(b.purpose), "");
    EXPECT_EQ(FieldText(b.name), " M\xfcller ");
    EXPECT_EQ(b.redated, 1);
}

// The amount as the writers read it: its digits are the cents, so the
// stored text always has two decimals.
struct AmountCase {
    const char* typed;
    const char* stored;
};

class BookingEditorAmount : public ::testing::TestWithParam<AmountCase> {};

TEST_P(BookingEditorAmount, StoresTwoDecimals) {
    BookingRecord b = Sample();
    EditorTexts t = ReadEditorTexts(b);
    At(t, EditorField::Amount) = GetParam().typed;
    ASSERT_TRUE(WriteEditorTexts(t, b).ok) << GetParam().typed;
    EXPECT_EQ(FieldText(b.amount), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Forms, BookingEditorAmount,
                         ::testing::Values(AmountCase{"-1.234,56", "-1.234,56"},
                                           AmountCase{"84,3", "84,30"}, AmountCase{"84", "84,00"},
                                           AmountCase{"84,", "84,00"}, AmountCase{"+5", "5,00"},
                                           AmountCase{" 0,01 ", "0,01"},
                                           AmountCase{"12.345.678,9", "12.345.678,90"},
                                           AmountCase{"1234567", "1234567,00"}));

constexpr const char* kDateMessage =
    "Datum: Geben Sie ein Datum ein, das es im Kalender gibt (TT.MM.JJJJ).";
constexpr const char* kAmountMessage = "Betrag: Geben Sie einen Betrag wie -1.234,56 ein.";

struct BadInput {
    EditorField field;
    const char* text;
    const char* message;
};

class BookingEditorRejects : public ::testing::TestWithParam<BadInput> {};

TEST_P(BookingEditorRejects, NamesTheFieldAndLeavesTheBookingUnchanged) {
    const BadInput& in = GetParam();
    BookingRecord b = Sample();
    const BookingRecord before = b;
    EditorTexts t = ReadEditorTexts(b);
    At(t, in.field) = in.text;
    const EditorCheck check = WriteEditorTexts(t, b);
    EXPECT_FALSE(check.ok);
    EXPECT_EQ(check.field, in.field);
    EXPECT_EQ(check.message, in.message);
    EXPECT_EQ(std::memcmp(&b, &before, sizeof b), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, BookingEditorRejects,
    ::testing::Values(
        BadInput{EditorField::HabenAccount, "12a", "HABEN-Konto: Geben Sie eine ganze Zahl ein."},
        BadInput{EditorField::SollAccount, "", "SOLL-Konto: Geben Sie eine ganze Zahl ein."},
        BadInput{EditorField::VatRate, "  ", "MwSt.-Satz: Geben Sie eine ganze Zahl ein."},
        BadInput{EditorField::DatevKey, "- 4", "DATEV-Schlüssel: Geben Sie eine ganze Zahl ein."},
        BadInput{EditorField::BookingNo, "1 2", "Buchungsnummer: Geben Sie eine ganze Zahl ein."},
        BadInput{EditorField::BookingNo, "2147483648",
                 "Buchungsnummer: Geben Sie eine ganze Zahl zwischen -2147483648 und 2147483647 "
                 "ein."},
        BadInput{EditorField::Beleg, "01234567890",
                 "Belegnummer: Geben Sie höchstens 10 Zeichen ein."},
        BadInput{EditorField::Date, "123456789012345678901",
                 "Datum: Geben Sie höchstens 20 Zeichen ein."},
        BadInput{EditorField::Currency, "EUR-EUR-EUR",
                 "Währung: Geben Sie höchstens 10 Zeichen ein."},
        // Dates: a day that is not in the calendar, or not a date at all.
        BadInput{EditorField::Date, "31.02.2025", kDateMessage},
        BadInput{EditorField::Date, "29.02.2025", kDateMessage},
        BadInput{EditorField::Date, "31.04.2025", kDateMessage},
        BadInput{EditorField::Date, "00.01.2025", kDateMessage},
        BadInput{EditorField::Date, "01.13.2025", kDateMessage},
        BadInput{EditorField::Date, "01.01.0000", kDateMessage},
        BadInput{EditorField::Date, "1.2.205", kDateMessage},
        BadInput{EditorField::Date, "1x.02.2025", kDateMessage},
        BadInput{EditorField::Date, "01.02.2025.", kDateMessage},
        BadInput{EditorField::Date, "01022025", kDateMessage},
        BadInput{EditorField::Date, "", kDateMessage},
        // Amounts: letters, misplaced dots and commas, too many decimals.
        BadInput{EditorField::Amount, "84,3O", kAmountMessage},
        BadInput{EditorField::Amount, "", kAmountMessage},
        BadInput{EditorField::Amount, "-", kAmountMessage},
        BadInput{EditorField::Amount, ",50", kAmountMessage},
        BadInput{EditorField::Amount, "1,234", kAmountMessage},
        BadInput{EditorField::Amount, "1.23,00", kAmountMessage},
        BadInput{EditorField::Amount, "1234.567,00", kAmountMessage},
        BadInput{EditorField::Amount, "1.2345,00", kAmountMessage},
        BadInput{EditorField::Amount, "1..234", kAmountMessage},
        BadInput{EditorField::Amount, "1.234.", kAmountMessage},
        BadInput{EditorField::Amount, "--5", kAmountMessage},
        BadInput{EditorField::Amount, "5 EUR", kAmountMessage},
        BadInput{EditorField::Amount, "1 234,00", kAmountMessage},
        // 29 digits fit the field as typed but not with ",00" added.
        BadInput{EditorField::Amount, "12345678901234567890123456789", kAmountMessage}));

TEST(BookingEditor, ReportsTheFirstFailingFieldInExchangeOrder) {
    BookingRecord b = Sample();
    EditorTexts t = ReadEditorTexts(b);
    At(t, EditorField::Purpose) = std::string(41, 'x');
    At(t, EditorField::SollAccount) = "x";
    At(t, EditorField::HabenAccount) = "y";
    const EditorCheck check = CheckEditorTexts(t);
    EXPECT_EQ(check.field, EditorField::HabenAccount);
}

// Every wrong field is reported at once, each message naming its field.
TEST(BookingEditor, ListsEveryFailingFieldWithItsName) {
    EditorTexts t = ReadEditorTexts(Sample());
    EXPECT_TRUE(CheckEditorFields(t).empty());
    At(t, EditorField::Date) = "31.02.2025";
    At(t, EditorField::Amount) = "84,3O";
    At(t, EditorField::SollAccount) = "x";
    const std::vector<EditorProblem> problems = CheckEditorFields(t);
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_EQ(problems[0].field, EditorField::Amount);
    EXPECT_EQ(problems[0].message, kAmountMessage);
    EXPECT_EQ(problems[1].field, EditorField::Date);
    EXPECT_EQ(problems[1].message, kDateMessage);
    EXPECT_EQ(problems[2].field, EditorField::SollAccount);
    EXPECT_EQ(problems[2].message, "SOLL-Konto: Geben Sie eine ganze Zahl ein.");
}

// Real days at the calendar's edges are taken, in both written forms.
TEST(BookingEditor, AcceptsRealDays) {
    for (const auto& [typed, stored] :
         {std::pair{"29.02.2024", "29.02.2024"}, std::pair{"29.02.2000", "29.02.2000"},
          std::pair{"31.12.9999", "31.12.9999"}, std::pair{"1.1.50", "01.01.1950"},
          std::pair{"31.1.49", "31.01.2049"}, std::pair{" 30.04.2025\t", "30.04.2025"}}) {
        BookingRecord b = Sample();
        EditorTexts t = ReadEditorTexts(b);
        At(t, EditorField::Date) = typed;
        ASSERT_TRUE(WriteEditorTexts(t, b).ok) << typed;
        EXPECT_EQ(FieldText(b.date), stored);
    }
    EXPECT_TRUE(CheckEditorField(EditorField::Date, "29.02.1900").has_value());
}

TEST(BookingEditor, AcceptsTheExtremesOfTheRange) {
    BookingRecord b = Sample();
    EditorTexts t = ReadEditorTexts(b);
    At(t, EditorField::SollAccount) = "-2147483648";
    At(t, EditorField::HabenAccount) = "\t2147483647\t";
    ASSERT_TRUE(WriteEditorTexts(t, b).ok);
    EXPECT_EQ(b.sollAccount, INT32_MIN);
    EXPECT_EQ(b.habenAccount, INT32_MAX);
    At(t, EditorField::VatRate) = "99999999999999999999999";
    EXPECT_EQ(CheckEditorTexts(t).message,
              "MwSt.-Satz: Geben Sie eine ganze Zahl zwischen -2147483648 und 2147483647 ein.");
}

}  // namespace
}  // namespace belvaron
