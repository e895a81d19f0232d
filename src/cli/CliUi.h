#pragma once

#include <cstdio>

#include "cli/CliOptions.h"
#include "core/workflow/WindowPort.h"

namespace belvaron::cli {

// The console front end: every message box goes to standard error as its
// exact text followed by one empty line; questions are answered by their id
// from the options. The job passes every file as an input, so no file is
// ever chosen, and no dialog is ever shown.
class CliUi : public WindowPort {
public:
    explicit CliUi(const CliOptions& options, std::FILE* err = stderr)
        : options_(options), err_(err) {}

    MessageAnswer ShowMessage(std::string_view text, MessageIcon icon,
                              MessageButtons buttons) override;
    bool Ask(QuestionId id, std::string_view text, MessageIcon icon) override;
    std::optional<std::string> ChooseFile(const FileDialogRequest&) override {
        return std::nullopt;
    }
    void ListCleared() override {}
    void ListRefilled(const BookingStore&, std::span<const int>) override {}
    void RefreshControls() override {}
    void SetVatControlsEnabled(bool) override {}
    void SortStarted(int) override {}
    void SortProgress(int) override {}
    void SortFinished() override {}
    std::optional<BookingRecord> EditBooking(const BookingRecord&) override { return std::nullopt; }
    bool EditDatevSettings(DatevSettings&, DatevRange&, const std::string&) override {
        return false;
    }
    // Writes the dialog's texts like a message and answers Cancel.
    bool ShowUpdateDialog(const UpdateDialogTexts& texts) override;
    // A window that shows nothing and is never cancelled.
    std::unique_ptr<ProgressWindow> OpenProgressWindow(const std::string& title) override;
    void ExitProgram(int code) override;

    // An update was offered in the update dialog.
    bool updateOffered() const { return updateOffered_; }

private:
    const CliOptions& options_;
    std::FILE* err_;
    bool updateOffered_ = false;
};

}  // namespace belvaron::cli
