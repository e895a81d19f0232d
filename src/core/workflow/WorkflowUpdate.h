#pragma once

#include "core/base/UiPort.h"
#include "core/platform/System.h"
#include "core/update/UpdateChecker.h"

namespace belvaron {

// What "Updates?" came to.
struct UpdateRun {
    // Up to date, the server's version older, or the installer started;
    // false after a failure or a cancel, also of the update dialog.
    bool ok = false;
    platform::ProcessId installerPid = 0;  // the started installer, 0 when none
};

// The steps of "Updates?" with `updater`: finds the update under the
// progress window "Suche nach Updates "; when the server's version is not
// older, offers it in the update dialog, downloads the installer under the
// progress window "Update wird heruntergeladen ", starts it and offers to
// end the program (Yes: ExitProgram(1)). Each progress window is closed
// before the messages of its step are shown; its " Abbruch " or Escape
// cancels the transfer.
UpdateRun RunUpdateCheck(UiPort& ui, UpdateChecker& updater, const UpdateSource& source);

}  // namespace belvaron
