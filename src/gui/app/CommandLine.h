#pragma once

#include <string>

namespace belvaron::gui {

// The desktop program's arguments, read before any window exists (so that
// --help and --version work without a display): `belvaron [DATEI]`.
struct CommandLine {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    std::string journal;  // DATEI, as given (local 8-bit path); may be empty
    std::string error;    // for Action::Error, German, UTF-8
};

CommandLine ParseCommandLine(int argc, const char* const* argv);

// The texts printed for --help and --version (UTF-8, ending with '\n').
std::string CommandLineHelp();
std::string CommandLineVersion();

}  // namespace belvaron::gui
