#include "app/Workflow.h"

namespace belvaron {

// Not built yet.
void Workflow::OnTaxationIst() {
    taxationChoice = 1;
    ui_.SetVatControlsEnabled(true);
}
void Workflow::OnTaxationSoll() {
    taxationChoice = 0;
    ui_.SetVatControlsEnabled(false);
}
bool Workflow::OnSelectVatReport() { return false; }

}  // namespace belvaron
