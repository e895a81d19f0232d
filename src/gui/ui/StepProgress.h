#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <chrono>
#include <cstdint>
#include <memory>

namespace belvaron::gui {

class ProgressDialog;

// The progress of one workflow step that runs on the UI thread. For the
// first `showAfter` of the step nothing shows and no event is handled. Then
// a ProgressDialog appears with the step's title, its percentage and the
// button "Abbrechen", modal for the whole program: the main window keeps
// painting but takes no input while the step runs. From then on a tick
// moves the bar and lets pending events through (painting, the button,
// Escape), at most once per `pumpEvery`. Destroying it closes the window.
class StepProgress {
public:
    StepProgress(QWidget* owner, QString title, std::chrono::milliseconds showAfter,
                 std::chrono::milliseconds pumpEvery);
    ~StepProgress();
    StepProgress(const StepProgress&) = delete;
    StepProgress& operator=(const StepProgress&) = delete;

    // The step's tick with its work done and total; false once the user
    // cancelled (and from then on).
    bool Tick(int64_t done, int64_t total);
    // Closes the window while the step shows a message or a dialog of its
    // own; the step's next tick opens it again.
    void Hide();

    // The window while it shows, else null.
    ProgressDialog* dialog() const { return dialog_.get(); }

private:
    void Open();

    QPointer<QWidget> owner_;
    QString title_;
    QElapsedTimer clock_;
    std::chrono::milliseconds showAfter_;
    std::chrono::milliseconds pumpEvery_;
    qint64 lastPump_ = 0;
    std::unique_ptr<ProgressDialog> dialog_;
    bool cancelled_ = false;
};

}  // namespace belvaron::gui
