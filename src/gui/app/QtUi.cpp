#include "gui/app/QtUi.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <cstdio>
#include <cstdlib>

#include "core/workflow/Workflow.h"
#include "gui/app/CorePath.h"
#include "gui/app/FileFilter.h"
#include "gui/app/MainWindow.h"
#include "gui/app/ProgramIcon.h"
#include "gui/bookings/BookingEditDialog.h"
#include "gui/bookings/SortDialog.h"
#include "gui/datev/DatevSettingsDialog.h"
#include "gui/ui/ProgressDialog.h"
#include "gui/ui/StepProgress.h"
#include "gui/update/ProgressWindowAdapter.h"
#include "gui/update/UpdateDialog.h"

namespace belvaron::gui {

QtUi::QtUi()
    : presenter_(
          [this](QWidget* parent, const QString& text, MessageIcon icon, MessageButtons buttons) {
              return ShowMessageBox(parent, text, icon, buttons, defaultNo_);
          }),
      chooser_([this](QWidget* parent, const FileDialogRequest& request) {
          return ShowFileDialog(parent, request, lastFolder_);
      }) {}

QtUi::~QtUi() = default;

void QtUi::AttachWindow(MainWindow* window) { window_ = window; }

QWidget* QtUi::DialogParent() const {
    if (window_) return window_;
    return QApplication::activeWindow();
}

MessageAnswer QtUi::ShowMessageBox(QWidget* parent, const QString& text, MessageIcon icon,
                                   MessageButtons buttons, bool defaultNo) {
    QMessageBox box(parent);
    box.setWindowTitle(QString::fromUtf8(Workflow::TitleText()));
    box.setWindowIcon(ProgramIcon());
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    switch (icon) {
        case MessageIcon::None:
            box.setIcon(QMessageBox::NoIcon);
            break;
        case MessageIcon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case MessageIcon::Question:
            box.setIcon(QMessageBox::Question);
            break;
    }
    if (buttons == MessageButtons::Ok) {
        QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.setDefaultButton(ok);
        box.setEscapeButton(ok);
        box.exec();
        return MessageAnswer::Ok;
    }
    QPushButton* yes = box.addButton(QStringLiteral("Ja"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("Nein"), QMessageBox::NoRole);
    box.setDefaultButton(defaultNo ? no : yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes ? MessageAnswer::Yes : MessageAnswer::No;
}

std::optional<std::string> QtUi::ShowFileDialog(QWidget* parent, const FileDialogRequest& request,
                                                QString& lastFolder) {
    if (request.chooseFolder) {
        const QString start = QtPath(request.initialName);
        const QString chosen = QFileDialog::getExistingDirectory(
            parent, QStringLiteral("Zielordner wählen"),
            QFileInfo(start).isDir() ? start : lastFolder, QFileDialog::ShowDirsOnly);
        if (chosen.isEmpty()) return std::nullopt;
        return CorePath(chosen);
    }
    QFileDialog dialog(parent);
    dialog.setWindowTitle(request.saveAs ? QStringLiteral("Speichern unter")
                                         : QStringLiteral("Öffnen"));
    dialog.setAcceptMode(request.saveAs ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.saveAs || !request.fileMustExist ? QFileDialog::AnyFile
                                                                : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    dialog.setNameFilters(QtFileFilter(request.filter).split(QStringLiteral(";;")));
    dialog.setDefaultSuffix(QString::fromUtf8(request.defaultExtension));
    const QString initial = QtPath(request.initialName);
    const bool pattern = initial.contains('*') || initial.contains('?');
    if (!pattern && !initial.isEmpty()) {
        const QFileInfo info(initial);
        if (info.dir().exists()) dialog.setDirectory(info.absolutePath());
        dialog.selectFile(info.fileName());
    } else if (!lastFolder.isEmpty()) {
        dialog.setDirectory(lastFolder);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    const QString chosen = dialog.selectedFiles().constFirst();
    lastFolder = QFileInfo(chosen).absolutePath();
    return CorePath(chosen);
}

MessageAnswer QtUi::ShowMessage(std::string_view text, MessageIcon icon, MessageButtons buttons) {
    ++messagesShown_;
    if (step_) step_->Hide();
    const QString qtext = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    return presenter_(DialogParent(), qtext, icon, buttons);
}

bool QtUi::Ask(QuestionId id, std::string_view text, MessageIcon icon) {
    defaultNo_ = DefaultsToNo(id);
    const bool yes = ShowMessage(text, icon, MessageButtons::YesNo) == MessageAnswer::Yes;
    defaultNo_ = false;
    return yes;
}

std::optional<std::string> QtUi::ChooseFile(const FileDialogRequest& request) {
    if (step_) step_->Hide();
    return chooser_(DialogParent(), request);
}

void QtUi::ListCleared() {
    if (window_) window_->ClearBookings();
}

void QtUi::ListRefilled(const BookingStore& store, std::span<const int> marked) {
    if (window_) window_->ShowBookings(store, marked);
}

void QtUi::RefreshControls() {
    if (window_) window_->ShowMembers();
}

void QtUi::SetVatControlsEnabled(bool enabled) {
    if (window_) window_->SetVatControlsEnabled(enabled);
}

void QtUi::SortStarted(int total) {
    sortDialog_ = std::make_unique<SortDialog>(DialogParent());
    sortDialog_->Start(total);
}

void QtUi::SortProgress(int position) {
    if (sortDialog_) sortDialog_->SetPosition(position);
}

void QtUi::SortFinished() { sortDialog_.reset(); }

std::optional<BookingRecord> QtUi::EditBooking(const BookingRecord& booking) {
    BookingEditDialog dialog(DialogParent(), *this, booking);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.booking();
}

bool QtUi::EditDatevSettings(DatevSettings& settings, DatevRange& range,
                             const std::string& chartName) {
    return RunDatevDialog(DialogParent(), settings, range, chartName);
}

bool QtUi::ShowUpdateDialog(const UpdateDialogTexts& texts) {
    return RunUpdateDialog(DialogParent(), texts);
}

std::unique_ptr<ProgressWindow> QtUi::OpenProgressWindow(const std::string& title) {
    return std::make_unique<ProgressWindowAdapter<ProgressDialog>>(
        std::make_unique<ProgressDialog>(DialogParent(), QString::fromStdString(title)));
}

Progress QtUi::StepStarted(const std::string& title) {
    step_ = std::make_unique<StepProgress>(DialogParent(), QString::fromStdString(title),
                                           stepShowAfter_, stepPumpEvery_);
    return Progress{
        [this](int64_t done, int64_t total) { return !step_ || step_->Tick(done, total); }};
}

void QtUi::StepFinished() { step_.reset(); }

// Ends the process at once, as the update asks before its installer runs:
// no window is closed first and nothing is saved.
void QtUi::ExitProgram(int code) {
    std::fflush(nullptr);
    std::exit(code);
}

}  // namespace belvaron::gui
