#include "datev/DatevDialog.h"

namespace belvaron {

// Placeholder until the DATEV settings dialog is built: the export stops as
// after "Abbrechen".
bool RunDatevDialog(QWidget*, CDatev&, CDataSet&, const std::string&) { return false; }

}  // namespace belvaron
