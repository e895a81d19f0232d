#include <gtest/gtest.h>

#include "DatevTestSupport.h"
#include "TempDir.h"
#include "core/base/DataFolders.h"
#include "core/datev/DatevDialogModel.h"
#include "core/datev/DatevSettingsFile.h"

namespace belvaron {
namespace {

using F = DatevDialogField;
using test::ReadFile;
using test::TempDir;

class DialogModelTest : public ::testing::Test {
protected:
    TempDir dir;
    DatevSettings settings;
    DatevRange range;
    DatevDialogModel model{settings, range};

    void SetUp() override {
        settings = LoadDatevSettings(SettingsPath()).settings;  // no file: the defaults
        test::SetRange(range, "01.01.2005", "31.12.2005");
    }
    std::string SettingsPath() const { return dir.File("angaben_datev.txt"); }
    std::string SettingsFile() const { return ReadFile(SettingsPath()); }
    // "OK" as the export run handles it: the model stores, then the
    // settings file is saved.
    std::optional<DatevDialogError> Confirm(const DatevDialogFields& fields) {
        auto error = model.Accept(fields);
        if (!error) {
            EXPECT_TRUE(SaveDatevSettings(SettingsPath(), settings).ok);
        }
        return error;
    }
};

TEST_F(DialogModelTest, WithoutASettingsFileTheDialogShowsTrimmedDefaults) {
    const DatevDialogFields f = model.Initial();
    EXPECT_EQ(f.beratername, "");
    EXPECT_EQ(f.dfvKennzeichen, "");
    EXPECT_EQ(f.passwort, "");
    EXPECT_EQ(f.beraternummer, "0");
    EXPECT_EQ(f.mandantennummer, "0");
    EXPECT_EQ(f.datentraegernummer, "1");
    EXPECT_EQ(f.abrechnungsnummer, "1");
    EXPECT_TRUE(f.erweiterung);
    EXPECT_EQ(f.kontonummernlaenge, "4");
    EXPECT_EQ(f.dateFrom, "01.01.2005");
    EXPECT_EQ(f.dateTo, "31.12.2005");
    EXPECT_EQ(f.exportFormat, DatevExportFormat::Csv);
    EXPECT_EQ(f.wjBeginnTag, "1");
    EXPECT_EQ(f.sachkontenrahmen, "03");
    EXPECT_FALSE(f.festschreibung);
}

TEST_F(DialogModelTest, ConfirmingTheDefaultsWritesTenBlanksAsName) {
    ASSERT_EQ(Confirm(model.Initial()), std::nullopt);
    EXPECT_EQ(SettingsFile(), FormatSettingsFile(DefaultDatevSettings()));
    EXPECT_NE(SettingsFile().find("\r\n          \t(Beratername: 9 stellig)\r\n"),
              std::string::npos);
}

TEST_F(DialogModelTest, TextsArePaddedAndConvertedToWindows1252) {
    DatevDialogFields f = model.Initial();
    f.beratername = "Müllerius";  // nine characters
    f.dfvKennzeichen = "X";
    f.passwort = "ab";
    ASSERT_EQ(Confirm(f), std::nullopt);
    EXPECT_STREQ(settings.beratername, "M\xFCllerius ");
    EXPECT_STREQ(settings.dfvKennzeichen, "X ");
    EXPECT_STREQ(settings.passwort, "ab  ");
    f.beratername = "Abc";
    ASSERT_EQ(Confirm(f), std::nullopt);
    EXPECT_STREQ(settings.beratername, "Abc       ");
    EXPECT_EQ(model.Initial().beratername, "Abc");
}

TEST_F(DialogModelTest, DatesAreNormalisedAndNotSaved) {
    DatevDialogFields f = model.Initial();
    f.dateFrom = "1.2.05";
    f.dateTo = "3.11.'05";
    ASSERT_EQ(Confirm(f), std::nullopt);
    EXPECT_EQ(range.from, "01.02.2005");
    EXPECT_EQ(range.to, "03.11.2005");
    EXPECT_EQ(SettingsFile().find("2005"), std::string::npos);
}

TEST_F(DialogModelTest, NumbersAreStored) {
    DatevDialogFields f = model.Initial();
    f.beraternummer = " 1234567 ";
    f.mandantennummer = "+99999";
    f.erweiterung = false;
    f.kontonummernlaenge = "8";
    f.exportFormat = DatevExportFormat::Postversand;
    f.wjBeginnTag = "1";
    f.wjBeginnMonat = "7";
    f.sachkontenrahmen = "04";
    f.festschreibung = true;
    ASSERT_EQ(Confirm(f), std::nullopt);
    const DatevSettings& s = settings;
    EXPECT_EQ(s.beraternummer, 1234567);
    EXPECT_EQ(s.mandantennummer, 99999);
    EXPECT_EQ(s.kontonummernerweiterung, 0);
    EXPECT_EQ(s.kontonummernlaenge, 8);
    EXPECT_EQ(s.exportFormat, DatevExportFormat::Postversand);
    EXPECT_EQ(s.wjBeginnMonat, 7);
    EXPECT_STREQ(s.sachkontenrahmen, "04");
    EXPECT_EQ(s.festschreibung, 1);
    EXPECT_EQ(ParseSettingsFile(SettingsFile()).wjBeginnMonat, 7);
}

struct CheckCase {
    const char* what;
    void (*change)(DatevDialogFields&);
    F field;
    const char* message;
};

class DialogCheckTest : public DialogModelTest, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(DialogCheckTest, RefusesAndStoresNothing) {
    DatevDialogFields f = model.Initial();
    GetParam().change(f);
    const auto error = Confirm(f);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->field, GetParam().field);
    EXPECT_EQ(error->message, GetParam().message);
    EXPECT_EQ(SettingsFile(), "");
    EXPECT_STREQ(settings.beratername, "          ");
}

INSTANTIATE_TEST_SUITE_P(
    Fields, DialogCheckTest,
    ::testing::Values(
        CheckCase{"AbrechnungsnummerZero", [](auto& f) { f.abrechnungsnummer = "0"; },
                  F::Abrechnungsnummer, "Geben Sie eine ganze Zahl zwischen 1 und 9999 ein."},
        CheckCase{"BeraternummerText", [](auto& f) { f.beraternummer = "12a"; }, F::Beraternummer,
                  "Geben Sie eine ganze Zahl ein."},
        CheckCase{"BeraternummerEmpty", [](auto& f) { f.beraternummer = ""; }, F::Beraternummer,
                  "Geben Sie eine ganze Zahl ein."},
        CheckCase{"BeraternummerTooBig", [](auto& f) { f.beraternummer = "99999999999999999999"; },
                  F::Beraternummer, "Geben Sie eine ganze Zahl zwischen 0 und 9999999 ein."},
        CheckCase{"MandantNegative", [](auto& f) { f.mandantennummer = "-1"; }, F::Mandantennummer,
                  "Geben Sie eine ganze Zahl zwischen 0 und 99999 ein."},
        CheckCase{"Datentraeger", [](auto& f) { f.datentraegernummer = "1000000"; },
                  F::Datentraegernummer, "Geben Sie eine ganze Zahl zwischen 1 und 999999 ein."},
        CheckCase{"NameTooLong", [](auto& f) { f.beratername = "ABCDEFGHIJ"; }, F::Beratername,
                  "Geben Sie höchstens 9 Zeichen ein."},
        // A line break pasted into a text field would shift every later
        // line of the settings file.
        CheckCase{"NameWithPastedLineBreak", [](auto& f) { f.beratername = "Schmi\r\ndt"; },
                  F::Beratername,
                  "Das Feld darf keine Steuerzeichen (Zeilenumbruch, Tabulator) enthalten."},
        CheckCase{"PasswortWithTab", [](auto& f) { f.passwort = "a\tb"; }, F::Passwort,
                  "Das Feld darf keine Steuerzeichen (Zeilenumbruch, Tabulator) enthalten."},
        CheckCase{"DfvWithLineFeed", [](auto& f) { f.dfvKennzeichen = "\n"; }, F::DfvKennzeichen,
                  "Das Feld darf keine Steuerzeichen (Zeilenumbruch, Tabulator) enthalten."},
        CheckCase{"DateWithDelete",
                  [](auto& f) {
                      f.dateFrom =
                          "01.01.\x7f"
                          "2024";
                  },
                  F::DateFrom,
                  "Das Feld darf keine Steuerzeichen (Zeilenumbruch, Tabulator) enthalten."},
        CheckCase{"NumberWithLineBreak", [](auto& f) { f.mandantennummer = "12\n3"; },
                  F::Mandantennummer, "Geben Sie eine ganze Zahl ein."},
        CheckCase{"LengthWhileDisabled",
                  [](auto& f) {
                      f.erweiterung = false;
                      f.kontonummernlaenge = "9";
                  },
                  F::Kontonummernlaenge, "Geben Sie eine ganze Zahl zwischen 4 und 8 ein."},
        CheckCase{"FirstFailureInOrderWins",
                  [](auto& f) {
                      f.passwort = "abcdef";
                      f.kontonummernlaenge = "x";
                      f.mandantennummer = "x";
                      f.beraternummer = "x";
                      f.abrechnungsnummer = "x";
                  },
                  F::Abrechnungsnummer, "Geben Sie eine ganze Zahl ein."},
        CheckCase{"BisBeforeVom",
                  [](auto& f) {
                      f.dateFrom = "01.01.20055";
                      f.dateTo = "31.12.20055";
                  },
                  F::DateTo, "Geben Sie höchstens 10 Zeichen ein."},
        CheckCase{"WjMonth", [](auto& f) { f.wjBeginnMonat = "13"; }, F::WjBeginnMonat,
                  "Geben Sie eine ganze Zahl zwischen 1 und 12 ein."},
        CheckCase{"WjDayOfMonth",
                  [](auto& f) {
                      f.wjBeginnTag = "31";
                      f.wjBeginnMonat = "4";
                  },
                  F::WjBeginnTag,
                  "Der Beginn des Wirtschaftsjahres 31.04. ist kein gültiger Tag.\n"
                  "Geben Sie einen Tag ein, den es in diesem Monat gibt."}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(DialogModelTest, RereadWritesNumbersBackInPlainDecimal) {
    DatevDialogFields f = model.Initial();
    f.beraternummer = " +0042 ";
    f.erweiterung = false;
    ASSERT_EQ(model.Reread(f), std::nullopt);
    EXPECT_EQ(f.beraternummer, "42");
    EXPECT_FALSE(DatevDialogModel::LengthEnabled(f));
    EXPECT_EQ(SettingsFile(), "");
}

TEST_F(DialogModelTest, ChartOfAccountsIsPreselectedFromTheChartFileName) {
    SetField(settings.sachkontenrahmen, "04");
    EXPECT_EQ(model.Initial().sachkontenrahmen, "04");
    EXPECT_EQ(model.Initial("DATEV_SK3.kon").sachkontenrahmen, "03");
    EXPECT_EQ(model.Initial("SK4_2024.kon").sachkontenrahmen, "04");
    SetField(settings.sachkontenrahmen, "03");
    EXPECT_EQ(model.Initial("konten.kon").sachkontenrahmen, "03");
}

}  // namespace
}  // namespace belvaron
