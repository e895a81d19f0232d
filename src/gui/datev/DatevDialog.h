#pragma once

#include <string>

class QWidget;

namespace belvaron {

class CDatev;
class CDataSet;

// The DATEV settings dialog: shows the settings and the export range of
// `datev`; true for "OK" (settings and range then stored and saved), false
// for "Abbrechen". `chartName`: the chart file chosen in the main window.
bool RunDatevDialog(QWidget* parent, CDatev& datev, CDataSet& store,
                    const std::string& chartName = {});

}  // namespace belvaron
