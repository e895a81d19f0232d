#include "core/workflow/WorkflowUpdate.h"

#include <cctype>
#include <memory>

#include "core/base/Format.h"
#include "core/base/Profile.h"
#include "core/update/SystemTransport.h"
#include "core/update/UpdateMessages.h"
#include "core/update/UpdateSettings.h"
#include "core/update/Version.h"
#include "core/workflow/Workflow.h"

namespace belvaron {

namespace {

constexpr int kProgressLines = 1;
constexpr int kProgressWidth = 300;

// The progress window of one transfer: it opens when the transfer begins
// and closes when this object goes. With `showBytes` it has a bar and shows
// the kilobytes received.
class TransferWindow {
public:
    TransferWindow(UiPort& ui, const char* title, bool showBytes) {
        progress_.begin = [this, &ui, title, showBytes] {
            window_ = ui.OpenProgressWindow(title);
            if (showBytes) window_->SetProgressRange(0, 100, 1);
            window_->FitLayout(kProgressLines, kProgressWidth);
        };
        progress_.wait = [this] { return GoOn(); };
        progress_.received = [this](uint64_t received, std::optional<uint64_t> length) {
            window_->SetStatusText(
                Format(msg::kUpdProgressKByte, static_cast<int>(received / 1000)));
            if (length && *length > 0) {
                window_->SetProgress(static_cast<int>(received * 100 / *length));
            }
            return GoOn();
        };
    }
    TransferWindow(const TransferWindow&) = delete;
    TransferWindow& operator=(const TransferWindow&) = delete;

    const TransferProgress* progress() const { return &progress_; }

private:
    // Lets the pending input through; false once the window was cancelled.
    bool GoOn() {
        if (!window_) return true;
        window_->PumpMessages(true);
        return !window_->cancelled();
    }

    TransferProgress progress_;
    std::unique_ptr<ProgressWindow> window_;
};

UpdateOffer FindUpdate(UiPort& ui, UpdateChecker& updater, const UpdateSource& source) {
    TransferWindow window(ui, msg::kUpdCheckProgressTitle, false);
    return updater.FindUpdate(source, window.progress());
}

InstallerDownload DownloadInstaller(UiPort& ui, UpdateChecker& updater, const UpdateSource& source,
                                    const InstallerDigest& digest) {
    TransferWindow window(ui, msg::kUpdProgressTitle, true);
    return updater.DownloadInstaller(source, digest, window.progress());
}

}  // namespace

UpdateRun RunUpdateCheck(UiPort& ui, UpdateChecker& updater, const UpdateSource& source) {
    const UpdateOffer offer = FindUpdate(ui, updater, source);
    ShowNotices(ui, offer.notices);
    if (offer.result != UpdateOffer::Result::Offered) {
        return {offer.result == UpdateOffer::Result::UpToDate ||
                offer.result == UpdateOffer::Result::ServerOlder};
    }
    if (!ui.ShowUpdateDialog(offer.dialog)) return {};
    const InstallerDownload download = DownloadInstaller(ui, updater, source, offer.digest);
    ShowNotices(ui, download.notices);
    if (download.result != InstallerDownload::Result::Complete) return {};
    const InstallerStart start = updater.StartInstaller(download.path);
    ShowNotices(ui, start.notices);
    if (!start.started) return {};
    if (AskYesNo(ui, QuestionId::QuitForInstaller, msg::kUpdExitQuestion, MessageIcon::None)) {
        ui.ExitProgram(1);
    }
    return {true, start.pid};
}

bool Workflow::CheckForUpdate() {
    const std::string product = kProductName;
    std::string setupFile = "setup_" + product + ".exe";
    for (char& ch : setupFile) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    UpdateChecker updater(MakeSystemTransport());
    const UpdateRun run = RunUpdateCheck(
        ui_, updater,
        {product, UpdateBaseUrl(Profile()), "updates/" + product + "/ReadMe.txt", setupFile});
    // The installer runs on its own and leaves nothing behind while the
    // program stays open.
    platform::ReleaseProcess(run.installerPid);
    return run.ok;
}

}  // namespace belvaron
