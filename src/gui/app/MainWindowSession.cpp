#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QToolButton>
#include <algorithm>

#include "gui/app/CorePath.h"
#include "gui/app/MainWindow.h"
#include "gui/app/QtUi.h"
#include "gui/app/WindowSettings.h"

// What the main window keeps between runs and the ways a journal reaches it
// besides step 3's "Auswahl": the recent journals, the command line, a drop.
namespace belvaron::gui {

void MainWindow::ApplyRemembered() {
    using Key = WindowSettings::Key;
    const QByteArray geometry = settings_->Geometry();
    if (!geometry.isEmpty()) restoreGeometry(geometry);
    ui_.SetLastFolder(settings_->Text(Key::JournalFolder));
    const std::string datev = CorePath(settings_->Text(Key::DatevTarget));
    if (!datev.empty()) workflow_.OnDatevTargetEdited(datev);
    const std::string lexware = CorePath(settings_->Text(Key::LexwareTarget));
    if (!lexware.empty()) workflow_.OnLexwareTargetEdited(lexware);
    const std::string chart = CorePath(settings_->Text(Key::Chart));
    const auto& charts = workflow_.chartFiles();
    if (std::find(charts.begin(), charts.end(), chart) != charts.end()) workflow_.UseChart(chart);
    if (settings_->Text(Key::Taxation) == QLatin1String("IST")) workflow_.OnTaxationIst();
    ShowRecentJournals();
    remembering_ = true;
}

void MainWindow::RememberTargets() {
    if (!remembering_) return;
    settings_->SetText(WindowSettings::Key::DatevTarget, QtPath(workflow_.datevTargetPath()));
    settings_->SetText(WindowSettings::Key::LexwareTarget, QtPath(workflow_.lexwareTargetPath()));
}

void MainWindow::RememberJournal() {
    if (!remembering_ || !workflow_.journalLoaded()) return;
    const QString path = QFileInfo(QtPath(workflow_.journalPath())).absoluteFilePath();
    settings_->AddRecentJournal(path);
    settings_->SetText(WindowSettings::Key::JournalFolder, QFileInfo(path).absolutePath());
    ui_.SetLastFolder(QFileInfo(path).absolutePath());
    ShowRecentJournals();
}

void MainWindow::ShowRecentJournals() {
    QMenu* menu = recent_->menu();
    menu->clear();
    for (const QString& path : settings_->RecentJournals()) {
        // A '&' in a path is text, not a mnemonic.
        QAction* action =
            menu->addAction(QString(path).replace(QLatin1Char('&'), QStringLiteral("&&")));
        connect(action, &QAction::triggered, this, [this, path] { OpenJournal(path); });
    }
    recent_->setEnabled(!menu->isEmpty());
}

void MainWindow::OpenJournal(const QString& path) {
    if (workflow_.OnOpenJournal(CorePath(path))) RememberJournal();
    ShowMembers();
}

// A drop of one local file anywhere on the window: the path.
bool MainWindow::IsJournalDrop(const QEvent* event, QString* path) const {
    const auto* drop = static_cast<const QDropEvent*>(event);
    const QMimeData* mime = drop->mimeData();
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1) return false;
    const QUrl url = mime->urls().constFirst();
    if (!url.isLocalFile()) return false;
    if (path) *path = url.toLocalFile();
    return true;
}

}  // namespace belvaron::gui
