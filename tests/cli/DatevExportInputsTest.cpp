// The command line's DATEV export inputs: the stored settings and the
// bookings' range, with --from, --to and --datev-batch applied and checked
// by the settings dialog's field rules.
#include <gtest/gtest.h>

#include "FakeUi.h"
#include "TempDir.h"
#include "core/datev/DatevSettingsFile.h"
#include "core/workflow/ConversionJob.h"

namespace belvaron {
namespace {

class DatevExportInputsTest : public ::testing::Test {
protected:
    test::TempDir dir;
    test::FakeUi ui;
    ConversionJob job;
    DatevSettings settings = DefaultDatevSettings();
    DatevRange range{"01.01.2005", "31.12.2005"};

    DatevExportInputsTest() { job.datevTarget = dir.File("export/ED00001"); }
    std::optional<DatevExportRequest> Inputs() {
        return DatevExportInputs(job, settings, range, ui);
    }
};

TEST_F(DatevExportInputsTest, StoredSettingsAndTheBookingsRangeUnchanged) {
    const auto request = Inputs();
    ASSERT_TRUE(request);
    EXPECT_EQ(request->range.from, "01.01.2005");
    EXPECT_EQ(request->range.to, "31.12.2005");
    EXPECT_EQ(FormatSettingsFile(request->settings), FormatSettingsFile(DefaultDatevSettings()));
    EXPECT_EQ(request->folder, dir.File("export"));
    EXPECT_FALSE(request->format);
    EXPECT_EQ(request->chart, "");
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(std::filesystem::exists(dir.File("angaben_datev.txt")));  // saving is the step's
}

TEST_F(DatevExportInputsTest, FromAndToReplaceTheDatesNormalised) {
    job.from = "1.2.05";
    job.to = "3.11.2005";
    const auto request = Inputs();
    ASSERT_TRUE(request);
    EXPECT_EQ(request->range.from, "01.02.2005");
    EXPECT_EQ(request->range.to, "03.11.2005");
}

TEST_F(DatevExportInputsTest, BatchAndFormatOfTheRun) {
    job.datevBatch = DatevBatchPeriod::Month;
    job.datevFormat = DatevExportFormat::Postversand;
    auto request = Inputs();
    ASSERT_TRUE(request);
    EXPECT_EQ(request->settings.batchPeriod, DatevBatchPeriod::Month);
    EXPECT_EQ(request->format, DatevExportFormat::Postversand);
    EXPECT_EQ(request->settings.exportFormat, DatevExportFormat::Csv);  // the stored one stays

    settings.batchPeriod = DatevBatchPeriod::Month;
    job.datevBatch = DatevBatchPeriod::FiscalYear;
    request = Inputs();
    ASSERT_TRUE(request);
    EXPECT_EQ(request->settings.batchPeriod, DatevBatchPeriod::FiscalYear);
}

// The chart of --check is the one the CSV checks warn with.
TEST_F(DatevExportInputsTest, ChartOfTheCheckGoesWithTheRequest) {
    job.chart = "SK4_DATEV.kon";
    const auto request = Inputs();
    ASSERT_TRUE(request);
    EXPECT_EQ(request->chart, "SK4_DATEV.kon");
}

TEST_F(DatevExportInputsTest, BareTargetNameMeansTheCurrentFolder) {
    job.datevTarget = "ED00001";
    const auto request = Inputs();
    ASSERT_TRUE(request);
    EXPECT_EQ(request->folder, ".");
}

struct RefusedCase {
    const char* name;
    int32_t abrechnungsnummer;
    const char* to;
    const char* message;
};

class RefusedInputs : public DatevExportInputsTest,
                      public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedInputs, FirstFailingFieldIsReportedAndNothingRuns) {
    const RefusedCase& c = GetParam();
    settings.abrechnungsnummer = c.abrechnungsnummer;  // from a hand-edited file
    if (*c.to) job.to = c.to;
    EXPECT_FALSE(Inputs());
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{c.message});
    EXPECT_FALSE(std::filesystem::exists(dir.File("angaben_datev.txt")));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedInputs,
    ::testing::Values(RefusedCase{"StoredValueOutOfRange", 0, "",
                                  "Geben Sie eine ganze Zahl zwischen 1 und 9999 ein."},
                      RefusedCase{"OverlongDate", 1, "31.12.20055",
                                  "Geben Sie höchstens 10 Zeichen ein."}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace belvaron
