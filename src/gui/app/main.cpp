// belvaron: the desktop program. One window; the program ends when it closes.
#include <QApplication>

#include "core/base/DataFiles.h"
#include "core/base/WriteSignals.h"
#include "gui/app/MainWindow.h"
#include "gui/app/ProgramIcon.h"
#include "gui/app/QtUi.h"
#include "gui/app/Translations.h"

int main(int argc, char** argv) {
    // A file-size limit makes a write fail with its message instead of
    // ending the program.
    belvaron::TurnWriteSignalsIntoErrors();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Belvaron"));
    QApplication::setDesktopFileName(QStringLiteral("belvaron"));
    QApplication::setWindowIcon(belvaron::gui::ProgramIcon());
    belvaron::gui::InstallGermanQtTranslations(app);

    belvaron::gui::QtUi ui;
    belvaron::gui::MainWindow window(ui);
    window.Initialise(belvaron::ProgramFolderFor(belvaron::ExecutableFolder()));
    window.show();
    return QApplication::exec();
}
