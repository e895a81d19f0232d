// The command line's settings "dialog": confirmed as it opens, with --from
// and --to replacing the dates.
#include <gtest/gtest.h>

#include <cstdio>

#include "cli/CliUi.h"
#include "FakeUi.h"
#include "TempDir.h"
#include "core/base/FixedText.h"
#include "core/bookings/BookingStore.h"
#include "core/datev/DatevSettingsFile.h"

namespace belvaron {
namespace {

using test::ReadFile;

class CliDatevDialogTest : public ::testing::Test {
protected:
    test::TempDir dir;
    test::FakeUi fake;
    BookingStore store{fake, 4, 4};
    CDatev datev{fake};
    cli::CliOptions options;
    std::FILE* err = std::tmpfile();

    void SetUp() override {
        store.dataFolderOverride = dir.path();
        datev.SetDataSet(&store);
        datev.LoadSettings();
        SetField(datev.dateFrom, "01.01.2005");
        SetField(datev.dateTo, "31.12.2005");
    }
    void TearDown() override { std::fclose(err); }
    std::string Err() {
        std::rewind(err);
        std::string text;
        for (int c; (c = std::fgetc(err)) != EOF;) text += static_cast<char>(c);
        return text;
    }
};

TEST_F(CliDatevDialogTest, ConfirmsUnchangedAndSavesLikeOk) {
    cli::CliUi ui(options, err);
    EXPECT_TRUE(ui.EditDatevSettings(datev, store));
    EXPECT_STREQ(datev.dateFrom, "01.01.2005");
    EXPECT_EQ(ReadFile(dir.File("angaben_datev.txt")), FormatSettingsFile(DefaultDatevSettings()));
    EXPECT_EQ(Err(), "");
}

TEST_F(CliDatevDialogTest, FromAndToReplaceTheDatesNormalised) {
    options.from = "1.2.05";
    options.to = "3.11.2005";
    cli::CliUi ui(options, err);
    EXPECT_TRUE(ui.EditDatevSettings(datev, store));
    EXPECT_STREQ(datev.dateFrom, "01.02.2005");
    EXPECT_STREQ(datev.dateTo, "03.11.2005");
}

TEST_F(CliDatevDialogTest, DatevBatchSetsTheStapelFieldAndIsSaved) {
    options.datevBatch = "month";
    cli::CliUi ui(options, err);
    EXPECT_TRUE(ui.EditDatevSettings(datev, store));
    EXPECT_EQ(datev.settings.batchPeriod, DatevBatchPeriod::Month);
    EXPECT_EQ(ParseSettingsFile(ReadFile(dir.File("angaben_datev.txt"))).batchPeriod,
              DatevBatchPeriod::Month);
    options.datevBatch = "year";
    cli::CliUi again(options, err);
    EXPECT_TRUE(again.EditDatevSettings(datev, store));
    EXPECT_EQ(datev.settings.batchPeriod, DatevBatchPeriod::FiscalYear);
}

TEST_F(CliDatevDialogTest, AFieldThatFailsItsCheckEndsLikeAbbrechen) {
    datev.settings.abrechnungsnummer = 0;  // from a hand-edited file
    cli::CliUi ui(options, err);
    EXPECT_FALSE(ui.EditDatevSettings(datev, store));
    EXPECT_EQ(Err(), "Geben Sie eine ganze Zahl zwischen 1 und 9999 ein.\n\n");
    EXPECT_EQ(ReadFile(dir.File("angaben_datev.txt")), "");
}

TEST_F(CliDatevDialogTest, OverlongDateIsRefused) {
    options.to = "31.12.20055";
    cli::CliUi ui(options, err);
    EXPECT_FALSE(ui.EditDatevSettings(datev, store));
    EXPECT_EQ(Err(), "Geben Sie höchstens 10 Zeichen ein.\n\n");
}

}  // namespace
}  // namespace belvaron
