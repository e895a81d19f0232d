#include "app/AppMessages.h"
#include "app/Format.h"
#include "app/TracePoint.h"
#include "app/Workflow.h"
#include "lexware/LexwareMessages.h"

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
        return store.ExportLexware(lexwareTargetPath);
    } catch (...) {
        ShowException(msg::kE114);
        return false;
    }
}

}  // namespace belvaron
