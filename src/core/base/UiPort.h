#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/base/Notices.h"
#include "core/base/UpdateDialogTexts.h"

namespace belvaron {

// The one interface through which the core reaches a screen. The Qt program,
// the command-line program and the tests each implement it. The core never
// prints, never opens a window and never asks anything except through here.
// All texts are UTF-8.

enum class MessageIcon { None, Information, Question };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// Every Yes/No question the core asks. A front end without a person at the
// screen (the command line, a test) answers by this id, never by the text.
enum class QuestionId {
    SaveReplaceList,         // leaving the edited REPLACE box
    ClearReplaceList,        // "Liste löschen"
    ProposeReplaceEntries,   // proposals for unknown accounts after the check
    QuitProgram,             // "Programm beenden", Escape, the close box
    QuitForInstaller,        // the downloaded installer has started
    QuitWithUnexportedWork,  // leaving while the loaded journal's work is not exported
    ReloadJournal,           // loading a journal over one that carries work
    ReplaceAgain,            // "Konten ersetzen" on accounts already replaced
    OverwriteExport,         // an export would replace files that exist
};

// True for the questions whose careless "Ja" loses work: a front end that
// shows them to a person makes "Nein" the answer of Enter.
constexpr bool DefaultsToNo(QuestionId id) {
    switch (id) {
        case QuestionId::ClearReplaceList:
        case QuestionId::QuitWithUnexportedWork:
        case QuestionId::ReloadJournal:
        case QuestionId::ReplaceAgain:
        case QuestionId::OverwriteExport:
            return true;
        case QuestionId::SaveReplaceList:
        case QuestionId::ProposeReplaceEntries:
        case QuestionId::QuitProgram:
        case QuestionId::QuitForInstaller:
            return false;
    }
    return false;
}

struct FileDialogRequest {
    bool saveAs = false;           // false: file-open dialog
    std::string defaultExtension;  // without dot, e.g. "txt"
    std::string initialName;       // e.g. "*.txt" or the current path
    std::string filter;            // "TXT-Files (*.txt)|*.txt|ALL-Files (*.*)|*.*|"
    bool fileMustExist = false;    // open dialogs
    bool overwritePrompt = false;  // save-as dialogs
    bool pathMustExist = false;    // save-as dialogs
    // A folder, not a file: the answer is an existing folder's path;
    // `initialName` is the folder to start in, the other fields are unused.
    bool chooseFolder = false;
};

// The progress window of an operation that runs on the UI thread: the
// operation sets texts and position, then lets pending input through with
// PumpMessages and reads cancelled(). Not modal. Destroying the object
// closes the window (and stores its screen position).
class ProgressWindow {
public:
    virtual ~ProgressWindow() = default;
    // The bar's range and step width.
    virtual void SetProgressRange(int lower, int upper, int step) = 0;
    // Sizes the window for `textLines` status lines of `width` pixels.
    virtual void FitLayout(int textLines, int width) = 0;
    // The status text (already formatted).
    virtual void SetStatusText(const std::string& text) = 0;
    // Moves the bar (and the percentage in the caption); returns the bar's
    // previous position.
    virtual int SetProgress(int position) = 0;
    // Lets the pending input of the program through; with cancelOnEscape an
    // Escape key cancels. Returns at once when nothing is pending.
    virtual void PumpMessages(bool cancelOnEscape) = 0;
    // The user pressed " Abbruch " or Escape; never resets.
    virtual bool cancelled() const = 0;
};

class UiPort {
public:
    virtual ~UiPort() = default;

    // A message box. Returns Ok for an OK box, Yes or No for a question.
    virtual MessageAnswer ShowMessage(std::string_view text, MessageIcon icon,
                                      MessageButtons buttons) = 0;

    // The question `id` with its text; true for "Ja". A front end that shows
    // questions to a person keeps this default, a message box with Ja/Nein.
    virtual bool Ask(QuestionId id, std::string_view text, MessageIcon icon) {
        (void)id;
        return ShowMessage(text, icon, MessageButtons::YesNo) == MessageAnswer::Yes;
    }

    // A file-open or save-as dialog; nullopt when the user cancels.
    virtual std::optional<std::string> ChooseFile(const FileDialogRequest& request) = 0;

    // The sort window: shown while a sort runs, with its progress 0..total.
    virtual void SortStarted(int total) = 0;
    virtual void SortProgress(int position) = 0;
    virtual void SortFinished() = 0;

    // The update dialog, modal; true for "OK", false for "Abbrechen",
    // Escape or the close box.
    virtual bool ShowUpdateDialog(const UpdateDialogTexts& texts) = 0;

    // Opens a progress window with the caption `title`, owned by the main
    // window; never null (a front end without windows returns one that
    // shows nothing and is never cancelled).
    virtual std::unique_ptr<ProgressWindow> OpenProgressWindow(const std::string& title) = 0;

    // Ends the program at once with this exit code; no window is closed
    // first and nothing is saved. The program's front ends do not return; a
    // test double may record the code and return.
    virtual void ExitProgram(int code) = 0;
};

// Shorthands for the common kinds of message.
inline void ShowPlain(UiPort& ui, std::string_view text) {
    ui.ShowMessage(text, MessageIcon::None, MessageButtons::Ok);
}
inline void ShowInfo(UiPort& ui, std::string_view text) {
    ui.ShowMessage(text, MessageIcon::Information, MessageButtons::Ok);
}
// Shows an operation's messages in their order.
inline void ShowNotices(UiPort& ui, const Notices& notices) {
    for (const Notice& notice : notices.items()) {
        ui.ShowMessage(
            notice.text,
            notice.kind == NoticeKind::Information ? MessageIcon::Information : MessageIcon::None,
            MessageButtons::Ok);
    }
}
inline bool AskYesNo(UiPort& ui, QuestionId id, std::string_view text,
                     MessageIcon icon = MessageIcon::Question) {
    return ui.Ask(id, text, icon);
}

}  // namespace belvaron
