#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <chrono>
#include <functional>
#include <memory>

#include "core/workflow/WindowPort.h"

namespace belvaron::gui {

class MainWindow;
class SortDialog;
class StepProgress;

// The UI port of the desktop program: message boxes, file dialogs, the
// booking list, the sort window and the editors. Message boxes and file
// dialogs go through exchangeable functions so that tests can answer them
// without blocking on a modal window.
class QtUi : public WindowPort {
public:
    using MessagePresenter = std::function<MessageAnswer(QWidget* parent, const QString& text,
                                                         MessageIcon icon, MessageButtons buttons)>;
    using FileChooser =
        std::function<std::optional<std::string>(QWidget* parent, const FileDialogRequest&)>;

    QtUi();
    ~QtUi() override;
    QtUi(const QtUi&) = delete;
    QtUi& operator=(const QtUi&) = delete;

    // The main window that shows the list and the controls (may stay unset:
    // the list and control events are then ignored).
    void AttachWindow(MainWindow* window);
    QWidget* DialogParent() const;

    // How many message boxes were shown so far.
    int MessagesShown() const { return messagesShown_; }

    void SetMessagePresenter(MessagePresenter presenter) { presenter_ = std::move(presenter); }
    // When a step's progress window appears (after the step has run this
    // long) and how often it lets events through; tests shorten both.
    void SetStepTiming(std::chrono::milliseconds showAfter, std::chrono::milliseconds pumpEvery) {
        stepShowAfter_ = showAfter;
        stepPumpEvery_ = pumpEvery;
    }
    // The running step's progress, null between steps.
    StepProgress* stepProgress() const { return step_.get(); }
    void SetFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }
    // The folder a file dialog without a named file opens in.
    const QString& lastFolder() const { return lastFolder_; }
    void SetLastFolder(const QString& folder) { lastFolder_ = folder; }

    // The real dialogs, used unless replaced. `defaultNo`: Enter answers a
    // question with "Nein".
    static MessageAnswer ShowMessageBox(QWidget* parent, const QString& text, MessageIcon icon,
                                        MessageButtons buttons, bool defaultNo = false);
    // While a question is shown: whether "Nein" is its default answer.
    bool questionDefaultsToNo() const { return defaultNo_; }
    // `lastFolder`: where the previous dialog ended (updated on success).
    static std::optional<std::string> ShowFileDialog(QWidget* parent,
                                                     const FileDialogRequest& request,
                                                     QString& lastFolder);

    MessageAnswer ShowMessage(std::string_view text, MessageIcon icon,
                              MessageButtons buttons) override;
    // A message box with Ja/Nein, "Nein" the default for the questions that
    // DefaultsToNo names.
    bool Ask(QuestionId id, std::string_view text, MessageIcon icon) override;
    std::optional<std::string> ChooseFile(const FileDialogRequest& request) override;
    void ListCleared() override;
    void ListRefilled(const BookingStore& store, std::span<const int> marked) override;
    void RefreshControls() override;
    void SetVatControlsEnabled(bool enabled) override;
    void SortStarted(int total) override;
    void SortProgress(int position) override;
    void SortFinished() override;
    std::optional<BookingRecord> EditBooking(const BookingRecord& booking) override;
    bool EditDatevSettings(DatevSettings& settings, DatevRange& range,
                           const std::string& chartName) override;
    bool ShowUpdateDialog(const UpdateDialogTexts& texts) override;
    std::unique_ptr<ProgressWindow> OpenProgressWindow(const std::string& title) override;
    Progress StepStarted(const std::string& title) override;
    void StepFinished() override;
    void ExitProgram(int code) override;

private:
    QPointer<MainWindow> window_;
    MessagePresenter presenter_;
    FileChooser chooser_;
    std::unique_ptr<SortDialog> sortDialog_;
    std::unique_ptr<StepProgress> step_;
    std::chrono::milliseconds stepShowAfter_{300};
    std::chrono::milliseconds stepPumpEvery_{50};
    int messagesShown_ = 0;
    bool defaultNo_ = false;
    QString lastFolder_;
};

}  // namespace belvaron::gui
