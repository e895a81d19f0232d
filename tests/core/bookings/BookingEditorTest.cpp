#include <gtest/gtest.h>

#include <cstring>

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

TEST(BookingEditor, WritesAsEnteredWithoutNormalising) {
    BookingRecord b = Sample();
    EditorTexts t = ReadEditorTexts(b);
    At(t, EditorField::Date) = "1.2.05";
    At(t, EditorField::SollAccount) = "  -4711 ";
    At(t, EditorField::DatevKey) = "+0";
    At(t, EditorField::Amount) = "1.234,5";
    At(t, EditorField::Purpose) = "";
    ASSERT_TRUE(WriteEditorTexts(t, b).ok);
    EXPECT_EQ(FieldText(b.date), "1.2.05");
    EXPECT_EQ(b.date[6], '\0');
    EXPECT_EQ(b.sollAccount, -4711);
    EXPECT_EQ(b.datevKey, 0);
    EXPECT_EQ(FieldText(b.amount), "1.234,5");
    EXPECT_EQ(FieldText(b.purpose), "");
    EXPECT_EQ(b.redated, 1);
}

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
        BadInput{EditorField::HabenAccount, "12a", "Geben Sie eine ganze Zahl ein."},
        BadInput{EditorField::SollAccount, "", "Geben Sie eine ganze Zahl ein."},
        BadInput{EditorField::VatRate, "  ", "Geben Sie eine ganze Zahl ein."},
        BadInput{EditorField::DatevKey, "- 4", "Geben Sie eine ganze Zahl ein."},
        BadInput{EditorField::BookingNo, "1 2", "Geben Sie eine ganze Zahl ein."},
        BadInput{EditorField::BookingNo, "2147483648",
                 "Geben Sie eine ganze Zahl zwischen -2147483648 und 2147483647 ein."},
        BadInput{EditorField::Beleg, "01234567890", "Geben Sie höchstens 10 Zeichen ein."},
        BadInput{EditorField::Date, "123456789012345678901", "Geben Sie höchstens 20 Zeichen ein."},
        BadInput{EditorField::Currency, "EUR-EUR-EUR", "Geben Sie höchstens 10 Zeichen ein."}));

TEST(BookingEditor, ReportsTheFirstFailingFieldInExchangeOrder) {
    BookingRecord b = Sample();
    EditorTexts t = ReadEditorTexts(b);
    At(t, EditorField::Purpose) = std::string(41, 'x');
    At(t, EditorField::SollAccount) = "x";
    At(t, EditorField::HabenAccount) = "y";
    const EditorCheck check = CheckEditorTexts(t);
    EXPECT_EQ(check.field, EditorField::HabenAccount);
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
              "Geben Sie eine ganze Zahl zwischen -2147483648 und 2147483647 ein.");
}

}  // namespace
}  // namespace belvaron
