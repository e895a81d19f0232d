#include "app/Workflow.h"

namespace belvaron {

// Not built yet.
std::string Workflow::LoadReplaceText() { return {}; }
bool Workflow::SaveReplaceText() { return false; }
void Workflow::OnReplaceTextChange() { replaceTextModified = 1; }
void Workflow::OnReplaceTextKillFocus(bool) { replaceTextModified = 0; }
bool Workflow::OnReplaceAccounts() { return false; }
void Workflow::OnClearReplaceList() {}
bool Workflow::OnKontenUeberpruefen() { return false; }

}  // namespace belvaron
