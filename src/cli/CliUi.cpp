#include "CliUi.h"

#include <string>

namespace belvaron::cli {

namespace {
// The one question the options answer with Yes.
constexpr std::string_view kProposalQuestion =
    "Soll ich einen Vorschlag für die REPLACE-Liste machen?";
}  // namespace

MessageAnswer CliUi::ShowMessage(std::string_view text, MessageIcon, MessageButtons buttons) {
    std::fwrite(text.data(), 1, text.size(), err_);
    std::fputs("\n\n", err_);
    std::fflush(err_);
    if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    if (text == kProposalQuestion && options_.propose) return MessageAnswer::Yes;
    return MessageAnswer::No;
}

std::optional<std::string> CliUi::ChooseFile(const FileDialogRequest& request) {
    switch (request.purpose) {
        case FilePurpose::Journal:
            return options_.journal;
        case FilePurpose::VatReport:
            return options_.vatReport;
        case FilePurpose::DatevTarget:
            return options_.datev;
        case FilePurpose::LexwareTarget:
            return options_.lexware;
    }
    return std::nullopt;
}

// Not built yet: the DATEV settings are confirmed unchanged.
bool CliUi::EditDatevSettings(CDatev&, CDataSet&) { return true; }

}  // namespace belvaron::cli
