#include "core/base/Format.h"
#include "core/base/TracePoint.h"
#include "core/lexware/LexwareExport.h"
#include "core/lexware/LexwareMessages.h"
#include "core/lexware/LexwareYears.h"
#include "core/workflow/StepScope.h"
#include "core/workflow/Workflow.h"
#include "core/workflow/WorkflowMessages.h"

namespace belvaron {

void Workflow::OnSelectLexwareFile() {
    FileDialogRequest request;
    request.saveAs = true;
    request.defaultExtension = "txt";
    request.initialName = lexwareTargetPath_;
    request.filter = msg::kLexwareFilter;
    request.overwritePrompt = true;
    request.pathMustExist = true;
    if (const auto chosen = ui_.ChooseFile(request)) lexwareTargetPath_ = *chosen;
    ui_.RefreshControls();
}

bool Workflow::OnExportLexware() {
    SettleReplaceText(false);
    // Bookings of several years go to one file per year, not to the chosen
    // path: the question names the files the export would replace.
    if (store_.journalLoaded && !MayReplaceFiles(LexwareFilePaths(store_, lexwareTargetPath_))) {
        return false;
    }
    return ExportLexware(lexwareTargetPath_);
}

bool Workflow::ExportLexware(const std::string& path) {
    if (!store_.journalLoaded) {
        ShowPlain(ui_, Format(msg::kNoJournal, msg::kGateLexware));
        return false;
    }
    try {
        StepScope step(ui_, msg::kStepLexware);
        const LexwareExportResult result = belvaron::ExportLexware(store_, path, step.progress());
        ShowNotices(ui_, result.notices);
        const bool ok = result.written;
        if (ok) {
            unexportedWork_ = false;
            exportState_ =
                Format("exportiert: %s, %d Buchungen", path.c_str(), store_.bookingCount);
        }
        return ok;
    } catch (...) {
        ShowException(msg::kE114, TracePoint);
        return false;
    }
}

}  // namespace belvaron
