#pragma once

#include <cstdio>

#include "CliOptions.h"
#include "app/UiPort.h"

namespace belvaron::cli {

// The console front end: every message box goes to standard error as its
// exact text followed by one empty line; file choices and answers come from
// the options.
class CliUi : public UiPort {
public:
    explicit CliUi(const CliOptions& options, std::FILE* err = stderr)
        : options_(options), err_(err) {}

    MessageAnswer ShowMessage(std::string_view text, MessageIcon icon,
                              MessageButtons buttons) override;
    std::optional<std::string> ChooseFile(const FileDialogRequest& request) override;
    void ListCleared() override {}
    void ListRefilled(const CDataSet&, std::span<const int>) override {}
    void RefreshControls() override {}
    void SetVatControlsEnabled(bool) override {}
    void SortStarted(int) override {}
    void SortProgress(int) override {}
    void SortFinished() override {}
    bool EditBooking(CDataSet&, int) override { return false; }
    bool EditDatevSettings(CDatev& datev, CDataSet& store) override;

private:
    const CliOptions& options_;
    std::FILE* err_;
};

}  // namespace belvaron::cli
