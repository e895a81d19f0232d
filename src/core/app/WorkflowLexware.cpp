#include "app/Workflow.h"

namespace belvaron {

// Not built yet.
void Workflow::OnSelectLexwareFile() { ui_.RefreshControls(); }
bool Workflow::OnExportLexware() { return false; }

}  // namespace belvaron
