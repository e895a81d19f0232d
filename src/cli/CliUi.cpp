#include "cli/CliUi.h"

#include <cstdlib>
#include <string>
#include <utility>

namespace belvaron::cli {

MessageAnswer CliUi::ShowMessage(std::string_view text, MessageIcon, MessageButtons buttons) {
    std::fwrite(text.data(), 1, text.size(), err_);
    std::fputs("\n\n", err_);
    std::fflush(err_);
    return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
}

// Questions are printed like messages; --propose answers the proposals with
// Yes, and an export replaces the files it writes, as the command line always
// did. It never reloads a journal or runs a step twice.
bool CliUi::Ask(QuestionId id, std::string_view text, MessageIcon icon) {
    ShowMessage(text, icon, MessageButtons::YesNo);
    if (id == QuestionId::OverwriteExport) return true;
    return id == QuestionId::ProposeReplaceEntries && options_.propose;
}

bool CliUi::ShowUpdateDialog(const UpdateDialogTexts& texts) {
    updateOffered_ = true;
    std::string history;
    for (const char ch : texts.historyText) {
        if (ch != '\r') history += ch;
    }
    std::string out = texts.titleText + "\n" + history;
    if (!history.empty() && history.back() != '\n') out += '\n';
    out += texts.propertiesText;
    ShowMessage(out, MessageIcon::None, MessageButtons::Ok);
    return false;
}

namespace {
class SilentProgress : public ProgressWindow {
public:
    void SetProgressRange(int, int, int) override {}
    void FitLayout(int, int) override {}
    void SetStatusText(const std::string&) override {}
    int SetProgress(int position) override { return std::exchange(position_, position); }
    void PumpMessages(bool) override {}
    bool cancelled() const override { return false; }

private:
    int position_ = 0;
};
}  // namespace

std::unique_ptr<ProgressWindow> CliUi::OpenProgressWindow(const std::string&) {
    return std::make_unique<SilentProgress>();
}

void CliUi::ExitProgram(int code) {
    std::fflush(nullptr);
    std::exit(code);
}

}  // namespace belvaron::cli
