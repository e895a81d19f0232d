#pragma once

class QWidget;

namespace belvaron {
class CDatev;
class CDataSet;
}  // namespace belvaron

// The DATEV settings dialog: shows the settings and the export range of
// `datev`; true for "OK" (settings and range then stored), false for
// "Abbrechen".
bool RunDatevDialog(QWidget* parent, belvaron::CDatev& datev, belvaron::CDataSet& store);
