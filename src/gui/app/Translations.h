#pragma once

class QCoreApplication;

namespace belvaron::gui {

// Installs Qt's own German texts (file dialogs, standard buttons, key names
// such as "Strg") from the system's Qt translations into `app`. False when
// they are not installed: Qt's dialogs then stay English.
bool InstallGermanQtTranslations(QCoreApplication& app);

}  // namespace belvaron::gui
