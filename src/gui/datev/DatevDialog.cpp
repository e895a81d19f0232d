#include "datev/DatevDialog.h"

// Placeholder until the DATEV settings dialog is built: the export stops as
// after "Abbrechen".
bool RunDatevDialog(QWidget*, belvaron::CDatev&, belvaron::CDataSet&) { return false; }
