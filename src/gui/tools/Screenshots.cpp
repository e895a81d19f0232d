// belvaron-screenshots OUTDIR JOURNAL [SUFFIX]: renders the main window with
// the journal loaded, and each dialog, into PNG files in OUTDIR. Meant for
// the offscreen platform; message boxes and file dialogs are answered
// without showing them, except where they are the picture.
#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>

#include "core/base/DataFiles.h"
#include "core/bookings/BookingStore.h"
#include "core/datev/DatevSettingsFile.h"
#include "gui/app/MainWindow.h"
#include "gui/app/ProgramIcon.h"
#include "gui/app/QtUi.h"
#include "gui/bookings/BookingEditDialog.h"
#include "gui/bookings/SortDialog.h"
#include "gui/datev/DatevSettingsDialog.h"
#include "gui/ui/AboutDialog.h"
#include "gui/ui/HelpDialog.h"
#include "gui/ui/ProgressDialog.h"
#include "gui/update/UpdateDialog.h"

using namespace belvaron::gui;

namespace {

QString OutDir;
QString Suffix;

bool Save(QWidget* widget, const QString& name) {
    QApplication::processEvents();
    const QString path = OutDir + QLatin1Char('/') + name + Suffix + QStringLiteral(".png");
    const bool ok = widget->grab().save(path);
    std::fprintf(stderr, "%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}

// Runs `open`, which shows a modal window, grabs that window and closes it.
bool GrabModal(const QString& name, const std::function<void()>& open) {
    bool ok = false;
    QTimer::singleShot(0, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) return;
        ok = Save(modal, name);
        modal->close();
    });
    open();
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: belvaron-screenshots OUTDIR JOURNAL [SUFFIX]\n");
        return 2;
    }
    OutDir = QString::fromLocal8Bit(argv[1]);
    const std::string journal = argv[2];
    Suffix = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();
    QDir().mkpath(OutDir);
    QApplication::setWindowIcon(ProgramIcon());

    QtUi ui;
    ui.SetMessagePresenter([](QWidget*, const QString&, belvaron::MessageIcon,
                              belvaron::MessageButtons) { return belvaron::MessageAnswer::Ok; });
    ui.SetFileChooser([&](QWidget*, const belvaron::FileDialogRequest&) {
        return std::optional<std::string>(journal);
    });
    MainWindow window(ui);
    window.Initialise(belvaron::ProgramFolderFor(belvaron::ExecutableFolder()));
    // The offscreen screen is small; show the window at its size on a desktop.
    window.resize(1300, 860);
    window.show();
    window.workflow().OnSelectJournal();
    window.ShowMembers();
    bool ok = Save(&window, QStringLiteral("main-window"));
    ok = ProgramIconPixmap(128, 1.0).save(OutDir + QStringLiteral("/icon") + Suffix +
                                          QStringLiteral(".png")) &&
         ok;

    belvaron::Workflow& flow = window.workflow();
    // The editor shows the first booking; without one (no journal import in
    // this build), an empty booking.
    const belvaron::BookingRecord shown =
        flow.store().bookingCount > 0 ? flow.store()[0] : belvaron::BookingRecord{};
    ok = GrabModal(QStringLiteral("booking-editor"),
                   [&] {
                       BookingEditDialog editor(&window, ui, shown);
                       editor.exec();
                   }) &&
         ok;
    ok = GrabModal(QStringLiteral("message-box"),
                   [&] {
                       QtUi::ShowMessageBox(
                           &window, QStringLiteral("Wollen Sie das Programm wirklich beenden?"),
                           belvaron::MessageIcon::Question, belvaron::MessageButtons::YesNo);
                   }) &&
         ok;
    ok = GrabModal(QStringLiteral("help"), [&] { window.ShowHelp(); }) && ok;
    ok = GrabModal(QStringLiteral("about"), [&] { window.ShowAbout(); }) && ok;

    // The DATEV settings as the export run opens them: the settings file of
    // the (throw-away) data folder and the range of the loaded bookings.
    belvaron::DatevSettings settings =
        belvaron::LoadDatevSettings(flow.DataFile(belvaron::kDatevSettingsFileName)).settings;
    belvaron::DatevRange range;
    if (auto booked = belvaron::BookingDateRange(flow.store())) range = *booked;
    ok = GrabModal(QStringLiteral("datev-settings"),
                   [&] {
                       belvaron::DatevSettingsDialog dialog(&window, settings, range,
                                                            "SK3_DATEV.kon");
                       dialog.exec();
                   }) &&
         ok;
    ok = GrabModal(QStringLiteral("update-dialog"),
                   [&] {
                       UpdateDialog dialog(&window);
                       dialog.titleText =
                           QStringLiteral("Für Belvaron ist ein neues Update (V2.4) verfügbar!");
                       dialog.historyText = QStringLiteral(
                           "         Belvaron V2.4:  März 2027\r\n"
                           "- DATEV-Format (CSV): Festschreibung wählbar\r\n"
                           "- Schnellere Prüfung der Konten\r\n");
                       dialog.propertiesText =
                           QStringLiteral("Das Update ist für Sie kostenlos verfügbar.");
                       dialog.propertiesColour = belvaron::Rgb(0, 100, 0);
                       dialog.exec();
                   }) &&
         ok;

    {
        SortDialog sort(&window);
        sort.Start(1000);
        sort.SetPosition(420);
        ok = Save(&sort, QStringLiteral("sort-window")) && ok;
    }
    {
        QTemporaryDir profileDir;
        const QString profile = profileDir.filePath(QStringLiteral("belvaron.ini"));
        ProgressDialog progress(&window, QStringLiteral("Update wird heruntergeladen "),
                                belvaron::Profile(profile.toStdString()));
        progress.SetStatusText(QStringLiteral("1234 kByte"));
        progress.SetProgressRange(0, 100, 1);
        progress.SetProgress(37);
        ok = Save(&progress, QStringLiteral("progress-window")) && ok;
        progress.hide();
    }
    return ok ? 0 : 1;
}
