#pragma once

#include <cstdint>

#include "core/base/Progress.h"
#include "core/workflow/WindowPort.h"

namespace belvaron {

// One step's run under the window's progress, from StepStarted to
// StepFinished (also when the step throws). The progress handed to the step
// remembers a cancel: once the window answered false, every later tick of
// the step does too, and cancelled() says so.
class StepScope {
public:
    StepScope(WindowPort& ui, const char* title) : ui_(ui), window_(ui.StepStarted(title)) {
        progress_.tick = [this](int64_t done, int64_t total) {
            if (!cancelled_ && !GoOn(&window_, done, total)) cancelled_ = true;
            return !cancelled_;
        };
    }
    ~StepScope() { ui_.StepFinished(); }
    StepScope(const StepScope&) = delete;
    StepScope& operator=(const StepScope&) = delete;

    // Null when the window shows no progress: the step then keeps nothing
    // for a cancel.
    const Progress* progress() const { return window_.tick ? &progress_ : nullptr; }
    bool cancelled() const { return cancelled_; }

private:
    WindowPort& ui_;
    Progress window_;
    Progress progress_;
    bool cancelled_ = false;
};

}  // namespace belvaron
