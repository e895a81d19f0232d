#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/bookings/BookingStore.h"
#include "core/workflow/WindowPort.h"

namespace belvaron::test {

// A scripted UI port: records every message and list event, answers
// questions and file choices from queues (No and cancel when empty).
class FakeUi : public WindowPort {
public:
    struct Message {
        std::string text;
        MessageIcon icon;
        MessageButtons buttons;
    };

    std::vector<Message> messages;
    std::deque<MessageAnswer> answers;             // for Yes/No questions
    std::vector<QuestionId> questions;             // every question asked, in order
    std::deque<std::optional<std::string>> files;  // for ChooseFile
    std::vector<FileDialogRequest> fileRequests;
    std::vector<int> lastMarked;
    int listClears = 0;
    int listRefills = 0;
    int refreshes = 0;
    std::optional<bool> vatControlsEnabled;
    int sortsStarted = 0;
    int sortsFinished = 0;
    std::deque<bool> editAnswers;  // EditBooking: saved or cancelled
    // What a saving editor does to its copy of the booking (nothing when
    // empty).
    std::function<void(BookingRecord&)> editAction;
    std::deque<bool> datevDialogAnswers;  // EditDatevSettings results (default true)
    std::function<void(DatevSettings&)> datevDialogEdit;  // what the user changes there

    // The update dialog: every call recorded, answered from the queue
    // (Cancel when empty).
    std::vector<UpdateDialogTexts> updateDialogs;
    std::deque<bool> updateDialogAnswers;
    // Progress windows: what each one was told. A window cancels itself in
    // the PumpMessages call number `cancelAfterPumps` (1-based; 0: never).
    struct ProgressLog {
        std::string title;
        int lower = 0, upper = 0, step = 0;
        int layoutLines = 0, layoutWidth = 0;
        std::vector<std::string> statusTexts;
        std::vector<int> positions;
        int pumps = 0;
        bool escapeCancels = false;
        bool cancelled = false;
        bool closed = false;
    };
    std::vector<std::shared_ptr<ProgressLog>> progressWindows;
    int cancelAfterPumps = 0;
    std::vector<int> exitCodes;
    // Steps under the progress window: each title, every tick (done, total)
    // in order, how many steps finished. The window answers false from the
    // step's tick number `cancelStepAtTick` on (1-based, counted per step;
    // 0: never) and notes how many messages had been shown by then.
    std::vector<std::string> steps;
    std::vector<std::pair<int64_t, int64_t>> stepTicks;
    int stepsFinished = 0;
    int cancelStepAtTick = 0;
    std::optional<std::size_t> messagesAtCancel;

    bool Ask(QuestionId id, std::string_view text, MessageIcon icon) override {
        questions.push_back(id);
        return UiPort::Ask(id, text, icon);
    }
    MessageAnswer ShowMessage(std::string_view text, MessageIcon icon,
                              MessageButtons buttons) override {
        messages.push_back({std::string(text), icon, buttons});
        if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
        if (answers.empty()) return MessageAnswer::No;
        const MessageAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    std::optional<std::string> ChooseFile(const FileDialogRequest& request) override {
        fileRequests.push_back(request);
        if (files.empty()) return std::nullopt;
        auto f = files.front();
        files.pop_front();
        return f;
    }
    void ListCleared() override { ++listClears; }
    void ListRefilled(const BookingStore&, std::span<const int> marked) override {
        ++listRefills;
        lastMarked.assign(marked.begin(), marked.end());
    }
    void RefreshControls() override { ++refreshes; }
    void SetVatControlsEnabled(bool enabled) override { vatControlsEnabled = enabled; }
    void SortStarted(int) override { ++sortsStarted; }
    void SortProgress(int) override {}
    void SortFinished() override { ++sortsFinished; }
    std::optional<BookingRecord> EditBooking(const BookingRecord& booking) override {
        if (editAnswers.empty()) return std::nullopt;
        const bool a = editAnswers.front();
        editAnswers.pop_front();
        if (!a) return std::nullopt;
        BookingRecord edited = booking;
        if (editAction) editAction(edited);
        return edited;
    }
    bool EditDatevSettings(DatevSettings& settings, DatevRange&, const std::string&) override {
        if (datevDialogEdit) datevDialogEdit(settings);
        if (datevDialogAnswers.empty()) return true;
        const bool a = datevDialogAnswers.front();
        datevDialogAnswers.pop_front();
        return a;
    }

    bool ShowUpdateDialog(const UpdateDialogTexts& texts) override {
        updateDialogs.push_back(texts);
        if (updateDialogAnswers.empty()) return false;
        const bool a = updateDialogAnswers.front();
        updateDialogAnswers.pop_front();
        return a;
    }
    std::unique_ptr<ProgressWindow> OpenProgressWindow(const std::string& title) override {
        auto log = std::make_shared<ProgressLog>();
        log->title = title;
        progressWindows.push_back(log);
        return std::make_unique<FakeProgress>(log, cancelAfterPumps);
    }
    void ExitProgram(int code) override { exitCodes.push_back(code); }
    Progress StepStarted(const std::string& title) override {
        steps.push_back(title);
        auto ticks = std::make_shared<int>(0);
        return Progress{[this, ticks](int64_t done, int64_t total) {
            stepTicks.emplace_back(done, total);
            if (cancelStepAtTick == 0 || ++*ticks < cancelStepAtTick) return true;
            if (!messagesAtCancel) messagesAtCancel = messages.size();
            return false;
        }};
    }
    void StepFinished() override { ++stepsFinished; }

    // The texts of all messages, in order.
    std::vector<std::string> Texts() const {
        std::vector<std::string> t;
        for (const auto& m : messages) t.push_back(m.text);
        return t;
    }
    const Message& Last() const { return messages.back(); }

private:
    class FakeProgress : public ProgressWindow {
    public:
        FakeProgress(std::shared_ptr<ProgressLog> log, int cancelAfter)
            : log_(std::move(log)), cancelAfter_(cancelAfter) {}
        ~FakeProgress() override { log_->closed = true; }
        void SetProgressRange(int lower, int upper, int step) override {
            log_->lower = lower;
            log_->upper = upper;
            log_->step = step;
        }
        void FitLayout(int textLines, int width) override {
            log_->layoutLines = textLines;
            log_->layoutWidth = width;
        }
        void SetStatusText(const std::string& text) override { log_->statusTexts.push_back(text); }
        int SetProgress(int position) override {
            const int previous = log_->positions.empty() ? 0 : log_->positions.back();
            log_->positions.push_back(position);
            return previous;
        }
        void PumpMessages(bool cancelOnEscape) override {
            ++log_->pumps;
            log_->escapeCancels = cancelOnEscape;
            if (cancelAfter_ > 0 && log_->pumps == cancelAfter_) log_->cancelled = true;
        }
        bool cancelled() const override { return log_->cancelled; }

    private:
        std::shared_ptr<ProgressLog> log_;
        int cancelAfter_;
    };
};

}  // namespace belvaron::test
