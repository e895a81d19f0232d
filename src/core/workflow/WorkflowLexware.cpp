#include "core/workflow/WorkflowMessages.h"
#include "core/base/Format.h"
#include "core/base/TracePoint.h"
#include "core/workflow/Workflow.h"
#include "core/lexware/LexwareExport.h"
#include "core/lexware/LexwareMessages.h"

namespace belvaron {

void Workflow::OnSelectLexwareFile() {
    FileDialogRequest request;
    request.purpose = FilePurpose::LexwareTarget;
    request.saveAs = true;
    request.defaultExtension = "txt";
    request.initialName = lexwareTargetPath;
    request.filter = msg::kLexwareFilter;
    request.overwritePrompt = true;
    request.pathMustExist = true;
    if (const auto chosen = ui_.ChooseFile(request)) lexwareTargetPath = *chosen;
    ui_.RefreshControls();
}

bool Workflow::OnExportLexware() {
    if (!store.journalLoaded) {
        ShowPlain(ui_, Format(msg::kNoJournal, msg::kGateLexware));
        return false;
    }
    try {
        return ExportLexware(store, lexwareTargetPath, ui_);
    } catch (...) {
        ShowException(msg::kE114);
        return false;
    }
}

}  // namespace belvaron
