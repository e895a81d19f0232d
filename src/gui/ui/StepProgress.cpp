#include "gui/ui/StepProgress.h"

#include <QPushButton>
#include <algorithm>

#include "gui/ui/ProgressDialog.h"

namespace belvaron::gui {

StepProgress::StepProgress(QWidget* owner, QString title, std::chrono::milliseconds showAfter,
                           std::chrono::milliseconds pumpEvery)
    : owner_(owner), title_(std::move(title)), showAfter_(showAfter), pumpEvery_(pumpEvery) {
    clock_.start();
}

StepProgress::~StepProgress() = default;

bool StepProgress::Tick(int64_t done, int64_t total) {
    if (cancelled_) return false;
    const qint64 now = clock_.elapsed();
    if (now < showAfter_.count()) return true;
    if (!dialog_) {
        Open();
    } else if (now - lastPump_ < pumpEvery_.count()) {
        return true;
    }
    lastPump_ = now;
    const int64_t percent = total > 0 ? std::clamp<int64_t>(done * 100 / total, 0, 100) : 0;
    dialog_->SetProgress(static_cast<int>(percent));
    dialog_->PumpMessages(true);
    cancelled_ = dialog_->cancelled();
    return !cancelled_;
}

void StepProgress::Hide() { dialog_.reset(); }

void StepProgress::Open() {
    dialog_ = std::make_unique<ProgressDialog>(owner_, title_);
    dialog_->cancelButton()->setText(QStringLiteral("Abbrechen"));
    dialog_->SetProgressRange(0, 100, 1);
    dialog_->FitLayout(1, 300);
    dialog_->SetStatusText(title_);
    // Modality takes effect when the window is shown again; the window takes
    // the focus, so that Escape reaches it.
    dialog_->hide();
    dialog_->setWindowModality(Qt::ApplicationModal);
    dialog_->setAttribute(Qt::WA_ShowWithoutActivating, false);
    dialog_->show();
    dialog_->activateWindow();
}

}  // namespace belvaron::gui
