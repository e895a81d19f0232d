// The window's DATEV and Lexware targets are paths whose folder the exports
// use; a bare name stands in the current folder, as on the command line.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "FakeUi.h"
#include "TempDir.h"
#include "core/platform/Files.h"
#include "core/workflow/Workflow.h"

namespace belvaron {
namespace {

namespace fs = std::filesystem;

// A window's workflow run in a folder of its own as the current folder,
// with the journal there under a bare name.
class TargetFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = fs::current_path();
        fs::current_path(dir.path());
        fs::copy_file(std::string(BELVARON_TEST_DATA) + "/bookings/journal_split_first.txt",
                      dir.File("journal.txt"));
        flow.SetDataFolderOverride(dir.File("data"));
        // The export writes the Postversand pair (EV01, ED00001), whose names
        // are fixed.
        ui.datevDialogEdit = [](DatevSettings& s) {
            s.exportFormat = DatevExportFormat::Postversand;
        };
    }
    void TearDown() override { fs::current_path(previous_); }

    static std::string InCurrentFolder(const char* name) { return platform::JoinPath(".", name); }

    test::TempDir dir;
    test::FakeUi ui;
    Workflow flow{ui};

private:
    fs::path previous_;
};

TEST_F(TargetFolderTest, JournalByBareNameGetsTargetsInTheCurrentFolder) {
    ASSERT_TRUE(flow.LoadJournal("journal.txt", Currency::Euro));
    EXPECT_EQ(flow.datevTargetPath(), InCurrentFolder("ED0001"));
    EXPECT_EQ(flow.lexwareTargetPath(), InCurrentFolder("buchhalter.txt"));

    ASSERT_TRUE(flow.OnDatenExportieren()) << ui.Last().text;
    EXPECT_TRUE(fs::is_regular_file(dir.File("EV01")));
    EXPECT_TRUE(fs::is_regular_file(dir.File("ED00001")));
}

TEST_F(TargetFolderTest, BareTargetExportsIntoTheCurrentFolder) {
    ASSERT_TRUE(flow.LoadJournal("journal.txt", Currency::Euro));
    fs::create_directory(dir.File("ED0001"));  // a folder of the target's name is not used
    flow.OnDatevTargetEdited("ED0001");
    ASSERT_TRUE(flow.OnDatenExportieren()) << ui.Last().text;
    EXPECT_TRUE(fs::is_regular_file(dir.File("EV01")));
    EXPECT_TRUE(fs::is_empty(dir.File("ED0001")));
}

// "Auswahl" starts in the folder the export would use and keeps the name.
TEST_F(TargetFolderTest, AuswahlOfABareTargetStartsInTheCurrentFolder) {
    flow.OnDatevTargetEdited("Export.DATEV");
    ui.files = {dir.File("other")};
    flow.OnDatevAuswahl();
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    EXPECT_EQ(ui.fileRequests[0].initialName, ".");
    EXPECT_EQ(flow.datevTargetPath(), platform::JoinPath(dir.File("other"), "Export.DATEV"));
}

}  // namespace
}  // namespace belvaron
