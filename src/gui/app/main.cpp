// belvaron: the desktop program. One window; the program ends when it closes.
#include <QApplication>

#include "app/BelvaronDlg.h"
#include "app/DataFiles.h"
#include "app/ProgramIcon.h"
#include "app/QtUi.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Belvaron"));
    QApplication::setDesktopFileName(QStringLiteral("belvaron"));
    QApplication::setWindowIcon(belvaron::gui::ProgramIcon());

    belvaron::gui::QtUi ui;
    belvaron::gui::CBelvaronDlg window(ui);
    window.Initialise(belvaron::ProgramFolderFor(belvaron::ExecutableFolder()));
    window.show();
    return QApplication::exec();
}
