#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "FakeUi.h"
#include "TempDir.h"
#include "WorkflowTestAccess.h"
#include "core/base/FixedText.h"
#include "core/datev/DatevSettingsFile.h"
#include "core/workflow/Workflow.h"

namespace belvaron {
namespace {

using test::FakeUi;
using test::TempDir;

// Runs a test in another current folder and returns to the old one.
class CurrentFolder {
public:
    explicit CurrentFolder(const std::string& path) : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(path);
    }
    ~CurrentFolder() { std::filesystem::current_path(previous_); }

private:
    std::filesystem::path previous_;
};

class ChartList : public testing::Test {
protected:
    ChartList() {
        for (const char* folder : {"program", "data", "cwd"}) {
            std::filesystem::create_directories(dir.File(folder));
        }
        flow.SetDataFolderOverride(dir.File("data"));
    }
    void Put(const std::string& folder, const std::string& name) {
        dir.Write(folder + "/" + name, "1000, \r\n");
    }

    TempDir dir;
    FakeUi ui;
    Workflow flow{ui};
};

TEST_F(ChartList, ProgramDataAndCurrentFolderOnceEachSorted) {
    Put("program", "SK4_DATEV.kon");
    Put("program", "SK3_DATEV.kon");
    Put("program", "readme.txt");
    Put("program", "old.kon.bak");
    Put("data", "SK4_DATEV.kon");
    Put("data", "mine.kon");
    Put("cwd", "a.kon");
    Put("cwd", "SK3_DATEV.kon");
    CurrentFolder cwd(dir.File("cwd"));
    flow.Start(dir.File("program") + "/");
    EXPECT_EQ(flow.chartFiles(),
              (std::vector<std::string>{"SK3_DATEV.kon", "SK4_DATEV.kon", "a.kon", "mine.kon"}));
    EXPECT_EQ(flow.SelectedChartName(), "SK3_DATEV.kon");  // no settings file: SKR 03
}

// The chart preselected at the start is the one of the DATEV settings'
// Sachkontenrahmen; without a chart of it, the second of several.
TEST_F(ChartList, PreselectionFollowsTheSachkontenrahmen) {
    struct Case {
        const char* sachkontenrahmen;
        std::vector<const char*> charts;
        const char* selected;
    };
    const Case cases[] = {
        {"03", {"SK3_DATEV.kon", "SK4_DATEV.kon"}, "SK3_DATEV.kon"},
        {"04", {"SK3_DATEV.kon", "SK4_DATEV.kon"}, "SK4_DATEV.kon"},
        {"04", {"a.kon", "b.kon", "mein_SK4.kon"}, "mein_SK4.kon"},
        {"04", {"a.kon", "SK3_DATEV.kon"}, "a.kon"},  // sorted: SK3_DATEV.kon, a.kon
    };
    for (const Case& c : cases) {
        TempDir local;
        std::filesystem::create_directories(local.File("program"));
        std::filesystem::create_directories(local.File("data"));
        for (const char* chart : c.charts)
            local.Write(std::string("program/") + chart, "1000,\r\n");
        DatevSettings settings = DefaultDatevSettings();
        SetField(settings.sachkontenrahmen, c.sachkontenrahmen);
        local.Write(std::string("data/") + kDatevSettingsFileName, FormatSettingsFile(settings));
        FakeUi localUi;
        Workflow localFlow(localUi);
        localFlow.SetDataFolderOverride(local.File("data"));
        CurrentFolder cwd(dir.File("cwd"));
        localFlow.Start(local.File("program") + "/");
        EXPECT_EQ(localFlow.SelectedChartName(), c.selected) << c.sachkontenrahmen;
        EXPECT_TRUE(localUi.messages.empty());
    }
}

// The Sachkontenrahmen confirmed in the DATEV dialog and the chart of the
// check are one choice: a standard chart of the other frame follows the
// dialog, a chart of the user's own and a cancelled dialog change nothing.
TEST_F(ChartList, DatevDialogAndCheckShareTheChart) {
    struct Case {
        const char* chosen;
        const char* confirmed;
        bool ok;
        const char* after;
    };
    const Case cases[] = {
        {"SK3_DATEV.kon", "04", true, "SK4_DATEV.kon"},
        {"SK4_DATEV.kon", "03", true, "SK3_DATEV.kon"},
        {"SK4_DATEV.kon", "04", true, "SK4_DATEV.kon"},
        {"mine.kon", "04", true, "mine.kon"},
        {"SK3_DATEV.kon", "04", false, "SK3_DATEV.kon"},
    };
    for (const char* chart : {"SK3_DATEV.kon", "SK4_DATEV.kon", "mine.kon"}) Put("program", chart);
    std::filesystem::create_directories(dir.File("export"));
    CurrentFolder cwd(dir.File("cwd"));
    for (const Case& c : cases) {
        FakeUi localUi;
        Workflow localFlow(localUi);
        localFlow.SetDataFolderOverride(dir.File("data"));
        localFlow.Start(dir.File("program") + "/");
        BookingRecord* b = WorkflowTestAccess::Store(localFlow).AppendRoom();
        *b = BookingRecord{};
        WorkflowTestAccess::Store(localFlow).bookingCount = 1;
        WorkflowTestAccess::Store(localFlow).journalLoaded = 1;
        localFlow.OnDatevTargetEdited(dir.File("export/ED0001"));
        localFlow.UseChart(c.chosen);
        localUi.datevDialogAnswers.push_back(c.ok);
        localUi.datevDialogEdit = [&c](DatevSettings& settings) {
            SetField(settings.sachkontenrahmen, c.confirmed);
        };
        localFlow.OnDatenExportieren();
        EXPECT_EQ(localFlow.SelectedChartName(), c.after) << c.chosen << " " << c.confirmed;
    }
}

TEST_F(ChartList, OneChartIsSelected) {
    Put("program", "SK3_DATEV.kon");
    CurrentFolder cwd(dir.File("cwd"));
    flow.Start(dir.File("program") + "/");
    EXPECT_EQ(flow.chartFiles(), (std::vector<std::string>{"SK3_DATEV.kon"}));
    EXPECT_EQ(flow.chartFileIndex(), 0);
    EXPECT_EQ(flow.SelectedChartName(), "SK3_DATEV.kon");
}

TEST_F(ChartList, NoChartSelectsNothing) {
    CurrentFolder cwd(dir.File("cwd"));
    flow.Start(dir.File("program") + "/");
    EXPECT_TRUE(flow.chartFiles().empty());
    EXPECT_EQ(flow.SelectedChartName(), "");
}

TEST_F(ChartList, ShippedChartsAreListed) {
    CurrentFolder cwd(dir.File("cwd"));
    flow.Start(std::string(BELVARON_SOURCE_DIR) + "/data/");
    EXPECT_EQ(flow.chartFiles(), (std::vector<std::string>{"SK3_DATEV.kon", "SK4_DATEV.kon"}));
}

TEST_F(ChartList, ChartOnlyInTheCurrentFolderIsChecked) {
    Put("cwd", "local.kon");
    CurrentFolder cwd(dir.File("cwd"));
    flow.Start(dir.File("program") + "/");
    BookingRecord* b = WorkflowTestAccess::Store(flow).AppendRoom();
    *b = BookingRecord{};
    b->sollAccount = 1000;
    b->habenAccount = 1000;
    WorkflowTestAccess::Store(flow).bookingCount = 1;
    WorkflowTestAccess::Store(flow).journalLoaded = 1;
    ui.messages.clear();
    EXPECT_TRUE(flow.OnKontenUeberpruefen());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.Last().icon, MessageIcon::Information);
}

}  // namespace
}  // namespace belvaron
