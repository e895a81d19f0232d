// Cancelling a step through the window's progress: the store, the step
// states and every file stay as they were before the step, nothing is shown
// after the cancel, the window closes, and the step runs in full afterwards.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "DatevRuleCheck.h"
#include "FakeUi.h"
#include "JournalGenerator.h"
#include "TempDir.h"
#include "core/bookings/BookingOperations.h"
#include "core/datev/AccountCheckMessages.h"
#include "core/datev/DatevRange.h"
#include "core/datev/DatevSettingsFile.h"
#include "core/workflow/Workflow.h"

namespace belvaron {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

// Records of the generated journal: enough for several ticks of every step
// (the journal ticks every 1024 bookings, the other steps every 4096 items).
constexpr int kRecords = 30'000;

// The generated inputs, written once for all tests.
struct Inputs {
    TempDir dir;
    std::string journal = dir.File("journal.txt");
    std::string vatReport = dir.File("mwst.txt");
    std::string replaceList = dir.File("replace.dat");

    Inputs() {
        const bench::JournalShape shape{kRecords, true};
        Write(journal, [&](std::FILE* f) { return bench::GenerateJournal(f, shape); });
        Write(vatReport, [&](std::FILE* f) { return bench::GenerateVatReport(f, shape, 90); });
        Write(replaceList, [](std::FILE* f) { return bench::GenerateReplaceChain(f, 100); });
    }
    static void Write(const std::string& path, const std::function<bool(std::FILE*)>& generate) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        EXPECT_TRUE(generate(f));
        EXPECT_EQ(std::fclose(f), 0);
    }
};

const Inputs& GeneratedInputs() {
    static const Inputs inputs;
    return inputs;
}

// One window's workflow over its own folders: data, export.
struct World {
    TempDir dir;
    test::FakeUi ui;
    Workflow flow{ui};
    std::string exportFolder = dir.File("export");

    World() {
        flow.SetDataFolderOverride(dir.File("data"));
        fs::create_directories(dir.File("data"));
        fs::create_directories(exportFolder);
        fs::copy_file(GeneratedInputs().replaceList, dir.File("data/replace.dat"));
        flow.Start(dir.File("program") + "/");
    }
    DatevExportRequest Request(DatevExportFormat format) const {
        DatevExportRequest request;
        request.folder = exportFolder;
        request.settings = DefaultDatevSettings();
        request.settings.beraternummer = 1001;
        request.settings.mandantennummer = 1;
        request.range = BookingDateRange(flow.store()).value_or(DatevRange{});
        request.format = format;
        return request;
    }
};

// What a cancelled step must leave as it was.
struct Snapshot {
    std::string list;  // the list line of every booking: dates, amounts, accounts, keys, marks
    bool loaded = false;
    std::string journalPath;
    StepStates states;
    std::map<std::string, std::string> files;  // every file of the world, by path

    explicit Snapshot(const World& w)
        : loaded(w.flow.journalLoaded()), journalPath(w.flow.journalPath()) {
        AppendListLines(w.flow.store(), 0, w.flow.store().bookingCount, list);
        states = w.flow.Describe();
        for (const auto& entry : fs::recursive_directory_iterator(w.dir.path())) {
            if (entry.is_regular_file()) {
                files[entry.path().string()] = test::ReadFile(entry.path().string());
            }
        }
    }
};

void ExpectSame(const Snapshot& before, const Snapshot& after) {
    EXPECT_TRUE(before.list == after.list) << "the bookings changed";
    EXPECT_EQ(before.loaded, after.loaded);
    EXPECT_EQ(before.journalPath, after.journalPath);
    EXPECT_EQ(before.states.journal, after.states.journal);
    EXPECT_EQ(before.states.taxation, after.states.taxation);
    EXPECT_EQ(before.states.accounts, after.states.accounts);
    EXPECT_EQ(before.states.exported, after.states.exported);
    ASSERT_EQ(before.files.size(), after.files.size());
    for (const auto& [path, bytes] : before.files) {
        ASSERT_TRUE(after.files.count(path)) << path;
        EXPECT_TRUE(after.files.at(path) == bytes) << path << " changed";
    }
}

// Each export's files, replaced by a text of their own: a cancelled export
// must leave exactly these.
void MarkFilesOld(const std::string& folder) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        std::FILE* f = std::fopen(entry.path().string().c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fputs(("old " + entry.path().filename().string()).c_str(), f);
        std::fclose(f);
    }
}

struct StepCase {
    const char* name;
    // A cancelled load leaves no journal at all; every other step leaves
    // everything as before.
    bool unloads;
    // Brings the world to where the step starts (a journal loaded, old files
    // in place); the ticks of this preparation do not count.
    std::function<void(World&)> prepare;
    std::function<bool(World&)> run;
};

void Load(World& w) { ASSERT_TRUE(w.flow.LoadJournal(GeneratedInputs().journal, Currency::Euro)); }

void LoadWithoutZeroAccounts(World& w) {
    Load(w);
    w.flow.DeleteZeroAccountBookings();
}

// Loaded, the step run once in full, its files marked old.
std::function<void(World&)> Exported(const std::function<bool(World&)>& run) {
    return [run](World& w) {
        LoadWithoutZeroAccounts(w);
        ASSERT_TRUE(run(w)) << (w.ui.messages.empty() ? "" : w.ui.Last().text);
        MarkFilesOld(w.exportFolder);
    };
}

// A complete CSV run leaves batches that pass DATEV's rules.
bool ExportCsv(World& w) {
    const bool ok = w.flow.ExportDatev(w.Request(DatevExportFormat::Csv));
    if (ok) {
        int batches = 0;
        for (const auto& entry : fs::directory_iterator(w.exportFolder)) {
            const std::string name = entry.path().filename().string();
            if (!name.starts_with("EXTF_") || !name.ends_with(".csv")) continue;
            ++batches;
            test::ExpectDatevRules(entry.path().string());
        }
        EXPECT_GE(batches, 1);
    }
    return ok;
}

bool ExportPostversand(World& w) {
    return w.flow.ExportDatev(w.Request(DatevExportFormat::Postversand));
}
bool ExportLexware(World& w) { return w.flow.ExportLexware(w.exportFolder + "/buchhalter.txt"); }

const StepCase kSteps[] = {
    {"ReloadJournal", true, Load,
     [](World& w) { return w.flow.LoadJournal(GeneratedInputs().journal, Currency::Euro); }},
    {"VatReport", false,
     [](World& w) {
         Load(w);
         w.flow.OnTaxationIst();  // as the window does before a report can be chosen
     },
     [](World& w) { return w.flow.ImportVatReport(GeneratedInputs().vatReport); }},
    {"ReplaceAccounts", false, Load, [](World& w) { return w.flow.ReplaceAccounts(); }},
    {"CheckAccounts", false,
     [](World& w) {
         Load(w);
         w.dir.Write(std::string("data/") + msg::kReportFileName, "old report");
     },
     [](World& w) {
         return w.flow.CheckAccounts(std::string(BELVARON_SOURCE_DIR) + "/data/SK3_DATEV.kon");
     }},
    {"DatevCsv", false, Exported(ExportCsv), ExportCsv},
    {"DatevPostversand", false, Exported(ExportPostversand), ExportPostversand},
    {"Lexware", false, Exported(ExportLexware), ExportLexware},
};

// The ticks a step makes when it runs in full.
int TicksOfFullRun(const StepCase& step) {
    World w;
    step.prepare(w);
    w.ui.stepTicks.clear();
    EXPECT_TRUE(step.run(w));
    return static_cast<int>(w.ui.stepTicks.size());
}

void PrintTo(const StepCase& step, std::ostream* out) { *out << step.name; }

class StepCancelTest : public ::testing::TestWithParam<StepCase> {};

TEST_P(StepCancelTest, CancelAtTheFirstAndTheLastTickLeavesEverythingAsBefore) {
    const StepCase& step = GetParam();
    const int ticks = TicksOfFullRun(step);
    ASSERT_GE(ticks, 2) << "the inputs are too small for this step";
    for (const int cancelAt : {1, ticks}) {
        SCOPED_TRACE(cancelAt);
        World w;
        step.prepare(w);
        const Snapshot before(w);
        const std::size_t stepsBefore = w.ui.steps.size();
        w.ui.cancelStepAtTick = cancelAt;

        EXPECT_FALSE(step.run(w));

        ASSERT_TRUE(w.ui.messagesAtCancel.has_value()) << "the step never reached the tick";
        EXPECT_EQ(w.ui.messages.size(), *w.ui.messagesAtCancel) << w.ui.Last().text;
        EXPECT_EQ(w.ui.steps.size(), stepsBefore + 1);
        EXPECT_EQ(w.ui.stepsFinished, static_cast<int>(w.ui.steps.size()));
        if (step.unloads) {
            // As before any load: no journal, nothing in the store.
            EXPECT_FALSE(w.flow.journalLoaded());
            EXPECT_EQ(w.flow.store().bookingCount, 0);
            EXPECT_EQ(w.flow.journalPath(), "");
            EXPECT_EQ(w.flow.Describe().journal, "kein Journal geladen");
            EXPECT_EQ(w.flow.Describe().accounts, "");
        } else {
            ExpectSame(before, Snapshot(w));
        }

        // Nothing of the cancelled run stands in the way of a full one.
        w.ui.cancelStepAtTick = 0;
        EXPECT_TRUE(step.run(w));
    }
}

INSTANTIATE_TEST_SUITE_P(Steps, StepCancelTest, ::testing::ValuesIn(kSteps),
                         [](const auto& info) { return std::string(info.param.name); });

// Ticks reach the window in order, within their total, and the window
// closes after each step.
TEST(StepProgressTest, TheLoadTicksUpToItsTotalAndEveryStepCloses) {
    World w;
    ASSERT_TRUE(w.flow.LoadJournal(GeneratedInputs().journal, Currency::Euro));
    ASSERT_EQ(w.ui.steps, std::vector<std::string>{"Journal wird geladen"});
    ASSERT_GE(w.ui.stepTicks.size(), 2u);
    const int64_t size = static_cast<int64_t>(fs::file_size(GeneratedInputs().journal));
    int64_t last = 0;
    for (const auto& [done, total] : w.ui.stepTicks) {
        EXPECT_EQ(total, size);
        EXPECT_GE(done, last);
        EXPECT_LE(done, total);
        last = done;
    }
    EXPECT_EQ(w.ui.stepsFinished, 1);
}

}  // namespace
}  // namespace belvaron
