#include "core/workflow/WorkflowMessages.h"
#include "core/base/DataFiles.h"
#include "core/base/FixedText.h"
#include "core/base/Format.h"
#include "core/base/TracePoint.h"
#include "core/workflow/Workflow.h"
#include "core/datev/AccountCheck.h"
#include "core/datev/DatevMessages.h"
#include "core/datev/csv/CsvBatches.h"
#include "core/datev/csv/DatevCsv.h"

namespace belvaron {

namespace {

struct ExportOutcome {
    int count = 0;
    bool complete = false;  // every file of the batch written
};

// The "Postversand" batch: the data file, then the header file, each stage
// under its own exception guard. nullopt when a guard caught an exception
// (its message is shown and the run ends).
std::optional<ExportOutcome> ExportPostversand(CDatev& datev, UiPort& ui,
                                               const std::string& folder) {
    ExportOutcome outcome;
    try {
        outcome.count = datev.WriteDataFile(folder);
    } catch (...) {
        ShowPlain(ui, Format(msg::kE112, TracePoint));
        return std::nullopt;
    }
    try {
        outcome.complete = datev.WriteHeaderFile(folder);
    } catch (...) {
        ShowPlain(ui, Format(msg::kE113, TracePoint));
        return std::nullopt;
    }
    return outcome;
}

// The range the settings dialog opens with: from the first booking to the
// last one of the fiscal year of the first booking, not several years.
void ProposeFiscalYear(CDatev& datev) {
    const std::string to =
        csv::ProposedDateTo(FieldText(datev.dateFrom), FieldText(datev.dateTo),
                            datev.settings.wjBeginnTag, datev.settings.wjBeginnMonat);
    SetField(datev.dateTo, to);
}

}  // namespace

void Workflow::OnDatevAuswahl() {
    FileDialogRequest request;
    request.purpose = FilePurpose::DatevTarget;
    request.saveAs = true;
    request.defaultExtension = "DATEV";
    request.initialName = datevTargetPath;
    request.filter = msg::kDatevFilter;
    request.overwritePrompt = true;
    request.pathMustExist = true;
    if (const auto chosen = ui_.ChooseFile(request)) datevTargetPath = *chosen;
    ui_.RefreshControls();
}

bool Workflow::OnDatenExportieren() {
    if (!store.journalLoaded) {
        ShowPlain(ui_, Format(msg::kNoJournal, msg::kGateDatev));
        return false;
    }
    try {
        datev.LoadSettings();
        datev.FindDateRange();
        ProposeFiscalYear(datev);
        if (!ui_.EditDatevSettings(datev, store)) return false;
        datev.SaveSettings();
    } catch (...) {
        ShowException(msg::kE111);
        return false;
    }
    const std::string folder = FolderOfPath(datevTargetPath);
    if (datevFormatOverride.value_or(datev.settings.exportFormat) == DatevExportFormat::Csv) {
        try {
            const std::string chart = SelectedChartName();
            const CsvRunOptions options =
                MakeCsvRunOptions(chart, chart.empty() ? std::string() : ChartPath(store, chart));
            return RunCsvExport(store, datev, folder, options, ui_);
        } catch (...) {
            ShowException(msg::kE112);
            return false;
        }
    }
    const auto outcome = ExportPostversand(datev, ui_, folder);
    if (!outcome) return false;
    if (outcome->count != 0 && outcome->complete) {
        ShowInfo(ui_, Format(msg::kDatevExported, outcome->count));
        return true;
    }
    ShowPlain(ui_, Format(msg::kE117, outcome->count));
    return false;
}

}  // namespace belvaron
