#include "gui/app/CommandLine.h"

#include <string_view>

namespace belvaron::gui {

CommandLine ParseCommandLine(int argc, const char* const* argv) {
    CommandLine line;
    bool optionsEnd = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (!optionsEnd && arg == "--") {
            optionsEnd = true;
        } else if (!optionsEnd && (arg == "-h" || arg == "--help")) {
            line.action = CommandLine::Action::Help;
            return line;
        } else if (!optionsEnd && (arg == "-v" || arg == "--version")) {
            line.action = CommandLine::Action::Version;
            return line;
        } else if (!optionsEnd && arg.size() > 1 && arg.front() == '-') {
            line.action = CommandLine::Action::Error;
            line.error = "Unbekannte Option: " + std::string(arg);
            return line;
        } else if (line.journal.empty()) {
            line.journal = arg;
        } else {
            line.action = CommandLine::Action::Error;
            line.error = "Nur eine Journal-Datei kann geöffnet werden.";
            return line;
        }
    }
    return line;
}

std::string CommandLineHelp() {
    return "Aufruf: belvaron [OPTION] [DATEI]\n"
           "Exportiert ein QuickBooks-Journal als DATEV-Buchungsstapel oder für den "
           "Lexware-Buchhalter.\n"
           "\n"
           "  DATEI          das Journal (TAB-Datei), das gleich geladen wird, wie mit\n"
           "                 \"Auswahl\" in Punkt 3\n"
           "  -h, --help     zeigt diese Hilfe und endet\n"
           "  -v, --version  zeigt die Version und endet\n"
           "\n"
           "Ohne Fenster arbeitet belvaron-cli (belvaron-cli --help).\n";
}

std::string CommandLineVersion() { return std::string("belvaron ") + BELVARON_VERSION + "\n"; }

}  // namespace belvaron::gui
