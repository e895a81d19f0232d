// The command line's settings "dialog": confirmed as it opens, with --from
// and --to replacing the dates.
#include <gtest/gtest.h>

#include <cstdio>

#include "FakeUi.h"
#include "TempDir.h"
#include "cli/CliUi.h"
#include "core/datev/DatevRange.h"
#include "core/datev/DatevSettingsFile.h"

namespace belvaron {
namespace {

using test::ReadFile;

class CliDatevDialogTest : public ::testing::Test {
protected:
    test::TempDir dir;
    test::FakeUi fake;
    DatevSettings settings;
    DatevRange range;
    cli::CliOptions options;
    std::FILE* err = std::tmpfile();

    void SetUp() override {
        settings = LoadDatevSettings(dir.File("angaben_datev.txt")).settings;
        range = {"01.01.2005", "31.12.2005"};
    }
    void TearDown() override { std::fclose(err); }
    std::string Err() {
        std::rewind(err);
        std::string text;
        for (int c; (c = std::fgetc(err)) != EOF;) text += static_cast<char>(c);
        return text;
    }
};

TEST_F(CliDatevDialogTest, ConfirmsUnchangedLikeOk) {
    cli::CliUi ui(options, err);
    EXPECT_TRUE(ui.EditDatevSettings(settings, range, ""));
    EXPECT_EQ(range.from, "01.01.2005");
    EXPECT_EQ(FormatSettingsFile(settings), FormatSettingsFile(DefaultDatevSettings()));
    EXPECT_EQ(ReadFile(dir.File("angaben_datev.txt")), "");  // saving is the caller's step
    EXPECT_EQ(Err(), "");
}

TEST_F(CliDatevDialogTest, FromAndToReplaceTheDatesNormalised) {
    options.from = "1.2.05";
    options.to = "3.11.2005";
    cli::CliUi ui(options, err);
    EXPECT_TRUE(ui.EditDatevSettings(settings, range, ""));
    EXPECT_EQ(range.from, "01.02.2005");
    EXPECT_EQ(range.to, "03.11.2005");
}

TEST_F(CliDatevDialogTest, DatevBatchSetsTheStapelField) {
    options.datevBatch = "month";
    cli::CliUi ui(options, err);
    EXPECT_TRUE(ui.EditDatevSettings(settings, range, ""));
    EXPECT_EQ(settings.batchPeriod, DatevBatchPeriod::Month);
    options.datevBatch = "year";
    cli::CliUi again(options, err);
    EXPECT_TRUE(again.EditDatevSettings(settings, range, ""));
    EXPECT_EQ(settings.batchPeriod, DatevBatchPeriod::FiscalYear);
}

TEST_F(CliDatevDialogTest, AFieldThatFailsItsCheckEndsLikeAbbrechen) {
    settings.abrechnungsnummer = 0;  // from a hand-edited file
    cli::CliUi ui(options, err);
    EXPECT_FALSE(ui.EditDatevSettings(settings, range, ""));
    EXPECT_EQ(Err(), "Geben Sie eine ganze Zahl zwischen 1 und 9999 ein.\n\n");
    EXPECT_EQ(ReadFile(dir.File("angaben_datev.txt")), "");
}

TEST_F(CliDatevDialogTest, OverlongDateIsRefused) {
    options.to = "31.12.20055";
    cli::CliUi ui(options, err);
    EXPECT_FALSE(ui.EditDatevSettings(settings, range, ""));
    EXPECT_EQ(Err(), "Geben Sie höchstens 10 Zeichen ein.\n\n");
}

}  // namespace
}  // namespace belvaron
