#include "core/base/DataFiles.h"
#include "core/base/FixedText.h"
#include "core/base/Format.h"
#include "core/base/TracePoint.h"
#include "core/datev/AccountCheck.h"
#include "core/datev/DatevMessages.h"
#include "core/datev/DatevSettingsFile.h"
#include "core/datev/PostversandWriter.h"
#include "core/datev/csv/CsvBatches.h"
#include "core/datev/csv/DatevCsv.h"
#include "core/platform/Files.h"
#include "core/workflow/StepScope.h"
#include "core/workflow/Workflow.h"
#include "core/workflow/WorkflowMessages.h"

namespace belvaron {

namespace {

struct ExportOutcome {
    int count = 0;
    bool complete = false;   // every file of the batch written
    bool cancelled = false;  // no file written, the old batch in place
};

// The "Postversand" batch: the data file, then the header file, each stage
// under its own exception guard and each stage's messages shown after it.
// nullopt when a guard caught an exception (its message is shown and the
// run ends).
std::optional<ExportOutcome> ExportPostversand(const BookingStore& store,
                                               const DatevSettings& settings,
                                               const DatevRange& range, UiPort& ui,
                                               const std::string& folder,
                                               const Progress* progress) {
    ExportOutcome outcome;
    PostversandDataFile dataFile;
    try {
        dataFile = WritePostversandDataFile(store, settings, range, folder, progress);
        outcome.count = dataFile.count;
        outcome.cancelled = dataFile.cancelled;
        if (outcome.cancelled) return outcome;
        ShowNotices(ui, dataFile.notices);
    } catch (...) {
        ShowPlain(ui, Format(msg::kE112, TracePoint));
        return std::nullopt;
    }
    try {
        const PostversandBatch batch =
            WritePostversandHeaderFile(std::move(dataFile), settings, range, folder);
        ShowNotices(ui, batch.notices);
        outcome.complete = batch.written;
    } catch (...) {
        ShowPlain(ui, Format(msg::kE113, TracePoint));
        return std::nullopt;
    }
    return outcome;
}

// The range the settings dialog opens with: from the first booking to the
// last one of the fiscal year of the first booking, not several years.
void ProposeFiscalYear(const DatevSettings& settings, DatevRange& range) {
    range.to =
        csv::ProposedDateTo(range.from, range.to, settings.wjBeginnTag, settings.wjBeginnMonat);
}

}  // namespace

void Workflow::OnDatevAuswahl() {
    FileDialogRequest request;
    request.chooseFolder = true;
    request.initialName = datevTargetPath_.empty() ? std::string() : FolderOfPath(datevTargetPath_);
    request.pathMustExist = true;
    if (const auto chosen = ui_.ChooseFile(request)) {
        // The export writes into the folder of the target path.
        std::string name = platform::Utf8Path(platform::FsPath(datevTargetPath_).filename());
        if (name.empty()) name = "ED0001";
        std::string folder = *chosen;
        while (folder.size() > 1 && platform::IsPathSeparator(folder.back())) folder.pop_back();
        datevTargetPath_ = platform::JoinPath(folder, name);
    }
    ui_.RefreshControls();
}

bool Workflow::OnDatenExportieren() {
    SettleReplaceText(false);
    if (!store_.journalLoaded) {
        ShowPlain(ui_, Format(msg::kNoJournal, msg::kGateDatev));
        return false;
    }
    DatevExportRequest request;
    try {
        const std::string settingsPath = folders_.Resolve(kDatevSettingsFileName);
        const DatevSettingsLoad loaded = LoadDatevSettings(settingsPath);
        // An unreadable file is never taken for a missing one: its values
        // would be lost at the next save.
        const DatevSettingsOutcome accepted = AcceptDatevSettingsLoad(loaded, settingsPath);
        ShowNotices(ui_, accepted.notices);
        if (!accepted.ok) return false;
        request.settings = loaded.settings;
        if (auto range = BookingDateRange(store_)) request.range = std::move(*range);
        ProposeFiscalYear(request.settings, request.range);
        if (!ui_.EditDatevSettings(request.settings, request.range, SelectedChartName())) {
            return false;
        }
        FollowSachkontenrahmen(FieldText(request.settings.sachkontenrahmen));
        request.chart = SelectedChartName();
    } catch (...) {
        ShowException(msg::kE111, TracePoint);
        return false;
    }
    request.folder = FolderOfPath(datevTargetPath_);
    return RunDatevExport(request, ExistingFiles::AskFirst);
}

bool Workflow::ExportDatev(const DatevExportRequest& request) {
    return RunDatevExport(request, ExistingFiles::Replace);
}

bool Workflow::RunDatevExport(const DatevExportRequest& request, ExistingFiles existing) {
    if (!store_.journalLoaded) {
        ShowPlain(ui_, Format(msg::kNoJournal, msg::kGateDatev));
        return false;
    }
    const DatevExportFormat format = request.format.value_or(request.settings.exportFormat);
    // The Postversand files are known before the settings are saved; the
    // CSV batches only after the check (RunDatevCsv).
    if (existing == ExistingFiles::AskFirst && format == DatevExportFormat::Postversand &&
        !MayReplaceFiles(PostversandFilePaths(request.settings, request.folder))) {
        return false;
    }
    // Saved once per export; a failed save (E:301) does not stop the
    // export, but the step then reports failure.
    bool saved = false;
    try {
        const DatevSettingsOutcome save =
            SaveDatevSettings(folders_.Resolve(kDatevSettingsFileName), request.settings);
        ShowNotices(ui_, save.notices);
        saved = save.ok;
    } catch (...) {
        ShowException(msg::kE111, TracePoint);
        return false;
    }
    if (format == DatevExportFormat::Csv) return RunDatevCsv(request, existing) && saved;
    StepScope step(ui_, msg::kStepDatev);
    const auto outcome = ExportPostversand(store_, request.settings, request.range, ui_,
                                           request.folder, step.progress());
    if (!outcome || outcome->cancelled) return false;
    if (outcome->count != 0 && outcome->complete) {
        ShowInfo(ui_, Format(msg::kDatevExported, outcome->count));
        unexportedWork_ = false;
        exportState_ = Format("exportiert: %s, %d Buchungen, %s bis %s", request.folder.c_str(),
                              outcome->count, request.range.from.c_str(), request.range.to.c_str());
        return saved;
    }
    ShowPlain(ui_, Format(msg::kE117, outcome->count));
    return false;
}

// The check's messages (E:313, or the warnings E:314) come before the
// question, so that the user sees them before deciding; the step's progress
// covers the write.
bool Workflow::RunDatevCsv(const DatevExportRequest& request, ExistingFiles existing) {
    try {
        const std::string& chart = request.chart;
        const auto resolve = [this](const std::string& name) { return folders_.Resolve(name); };
        const CsvRunOptions options =
            MakeCsvRunOptions(chart, chart.empty() ? std::string() : ChartPath(resolve, chart));
        const CsvPlan plan = PlanDatevCsv(store_, request.settings, request.range.from,
                                          request.range.to, request.folder, options);
        ShowNotices(ui_, plan.notices);
        if (!plan.writable()) return false;
        if (existing == ExistingFiles::AskFirst && !MayReplaceFiles(CsvFilePaths(plan))) {
            return false;
        }
        StepScope step(ui_, msg::kStepDatev);
        const DatevCsvResult run = RunCsvPlan(store_, plan, step.progress());
        ShowNotices(ui_, run.notices);
        if (run.outcome != DatevCsvResult::Outcome::Written) return false;
        unexportedWork_ = false;
        exportState_ = Format("exportiert: DATEV-Format nach %s, %s bis %s", request.folder.c_str(),
                              request.range.from.c_str(), request.range.to.c_str());
        return true;
    } catch (...) {
        ShowException(msg::kE112, TracePoint);
        return false;
    }
}

}  // namespace belvaron
