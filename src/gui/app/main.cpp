// belvaron: the desktop program. One window; the program ends when it closes.
#include <QApplication>
#include <QFile>
#include <QTimer>
#include <cstdio>

#include "core/base/DataFiles.h"
#include "core/base/WriteSignals.h"
#include "gui/app/CommandLine.h"
#include "gui/app/MainWindow.h"
#include "gui/app/ProgramIcon.h"
#include "gui/app/QtUi.h"
#include "gui/app/Translations.h"

int main(int argc, char** argv) {
    // A file-size limit makes a write fail with its message instead of
    // ending the program.
    belvaron::TurnWriteSignalsIntoErrors();
    using belvaron::gui::CommandLine;
    const CommandLine line = belvaron::gui::ParseCommandLine(argc, argv);
    switch (line.action) {
        case CommandLine::Action::Help:
            std::fputs(belvaron::gui::CommandLineHelp().c_str(), stdout);
            return std::fflush(stdout) == 0 ? 0 : 1;
        case CommandLine::Action::Version:
            std::fputs(belvaron::gui::CommandLineVersion().c_str(), stdout);
            return std::fflush(stdout) == 0 ? 0 : 1;
        case CommandLine::Action::Error:
            std::fprintf(stderr, "belvaron: %s\n\n%s", line.error.c_str(),
                         belvaron::gui::CommandLineHelp().c_str());
            return 2;
        case CommandLine::Action::Run:
            break;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Belvaron"));
    QApplication::setDesktopFileName(QStringLiteral("belvaron"));
    QApplication::setWindowIcon(belvaron::gui::ProgramIcon());
    belvaron::gui::InstallGermanQtTranslations(app);

    belvaron::gui::QtUi ui;
    belvaron::gui::MainWindow window(ui);
    window.Initialise(belvaron::ProgramFolderFor(belvaron::ExecutableFolder()));
    window.show();
    if (!line.journal.empty()) {
        // Once the window is on the screen: the load's messages belong to it.
        const QString journal = QFile::decodeName(line.journal.c_str());
        QTimer::singleShot(0, &window, [&window, journal] { window.OpenJournal(journal); });
    }
    return QApplication::exec();
}
