#include "app/Workflow.h"

namespace belvaron {

// Not built yet.
void Workflow::OnDatevAuswahl() { ui_.RefreshControls(); }
bool Workflow::OnDatenExportieren() { return false; }

}  // namespace belvaron
