#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "FakeUi.h"
#include "TempDir.h"
#include "core/workflow/Workflow.h"

namespace belvaron {
namespace {

// The start with a chart of its own (the command line's --check, or none):
// that chart is chosen instead of the preselected one.
TEST(WorkflowStart, ChartOfTheInputsReplacesThePreselection) {
    test::TempDir dir;
    std::filesystem::create_directories(dir.File("program"));
    dir.Write("program/SK3_DATEV.kon", "1000, \r\n");
    dir.Write("program/SK4_DATEV.kon", "1000, \r\n");
    const std::string program = dir.File("program") + "/";
    struct Case {
        std::optional<std::string> chart;
        std::string selected;
        std::size_t listed;
    };
    const Case cases[] = {
        {std::nullopt, "SK3_DATEV.kon", 2},  // no settings file: SKR 03
        {"SK4_DATEV.kon", "SK4_DATEV.kon", 2},
        {"eigen.kon", "eigen.kon", 3},  // added to the list
        {"", "", 2},                    // none: nothing to check against
    };
    for (const Case& c : cases) {
        test::FakeUi ui;
        Workflow flow(ui);
        flow.SetDataFolderOverride(dir.File("data"));
        flow.Start(program, c.chart);
        EXPECT_EQ(flow.SelectedChartName(), c.selected) << c.chart.value_or("(none)");
        EXPECT_EQ(flow.chartFiles().size(), c.listed);
        EXPECT_EQ(ui.refreshes, 1);
        EXPECT_TRUE(ui.messages.empty());
    }
}

}  // namespace
}  // namespace belvaron
