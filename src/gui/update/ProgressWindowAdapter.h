#pragma once

#include <QString>
#include <memory>
#include <utility>

#include "core/base/UiPort.h"

namespace belvaron::gui {

// The core's progress window on top of the desktop program's progress
// window class `Wnd`, which provides SetProgressRange(int, int, int),
// FitLayout(int, int), SetStatusText(const QString&), int SetProgress(int),
// PumpMessages(bool) and bool cancelled() const. Owns the window;
// destroying the adapter closes it (and stores its position).
template <typename Wnd>
class ProgressWindowAdapter : public ProgressWindow {
public:
    explicit ProgressWindowAdapter(std::unique_ptr<Wnd> window) : window_(std::move(window)) {}

    void SetProgressRange(int lower, int upper, int step) override {
        window_->SetProgressRange(lower, upper, step);
    }
    void FitLayout(int textLines, int width) override { window_->FitLayout(textLines, width); }
    void SetStatusText(const std::string& text) override {
        window_->SetStatusText(QString::fromStdString(text));
    }
    int SetProgress(int position) override { return window_->SetProgress(position); }
    void PumpMessages(bool cancelOnEscape) override { window_->PumpMessages(cancelOnEscape); }
    bool cancelled() const override { return window_->cancelled(); }

private:
    std::unique_ptr<Wnd> window_;
};

}  // namespace belvaron::gui
