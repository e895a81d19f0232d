#include "core/update/UpdateChecker.h"

#include <algorithm>
#include <cerrno>

#include "core/base/CodePage.h"
#include "core/base/Format.h"
#include "core/platform/Files.h"
#include "core/update/InstallerFile.h"
#include "core/update/UpdateInfo.h"
#include "core/update/UpdateMessages.h"
#include "core/update/Version.h"

namespace belvaron {

namespace {

constexpr std::size_t kBlockSize = 4096;
constexpr int kProgressLines = 1;
constexpr int kProgressWidth = 300;

bool IsSuccessStatus(int status) { return status >= 200 && status < 300; }

// While it lives, the transport's waits let the program's input through the
// progress window and end when the window is cancelled.
class CancelScope {
public:
    CancelScope(Transport* transport, ProgressWindow& window) : transport_(transport) {
        if (!transport_) return;
        transport_->SetCancelCheck([&window] {
            window.PumpMessages(true);
            return window.cancelled();
        });
    }
    ~CancelScope() {
        if (transport_) transport_->SetCancelCheck({});
    }
    CancelScope(const CancelScope&) = delete;
    CancelScope& operator=(const CancelScope&) = delete;

private:
    Transport* transport_;
};

}  // namespace

UpdateChecker::UpdateChecker(UiPort& ui, std::unique_ptr<Transport> transport)
    : tempFolder(TempFolder()), ui_(ui), transport_(std::move(transport)) {}

bool UpdateChecker::IsOnline() const { return transport_ && transport_->IsOnline(); }

void UpdateChecker::ShowFailure(const char* message) {
    ShowInfo(ui_, std::string(message) + Format(msg::kUpdErrorCode, lastError_));
}

std::unique_ptr<UrlStream> UpdateChecker::OpenUrl(std::string& url) {
    auto stream = transport_ ? transport_->OpenUrl(url) : nullptr;
    if (!stream) lastError_ = transport_ ? transport_->error() : transport_error::kInitFailed;
    return stream;
}

bool UpdateChecker::ReadUrlText(UrlStream& stream, std::string& text) {
    text.clear();
    if (!IsSuccessStatus(stream.status())) {
        lastError_ = stream.status();
        return false;
    }
    char buffer[kBlockSize];
    for (;;) {
        const long n = stream.Read(buffer, sizeof buffer);
        if (n < 0) {
            lastError_ = stream.error();
            return false;
        }
        if (n == 0) return true;
        const char* end = std::find(buffer, buffer + n, '\0');
        text.append(buffer, static_cast<std::size_t>(end - buffer));
        if (text.size() > kMaxTextSize) {
            lastError_ = transport_error::kTooLarge;
            return false;
        }
    }
}

bool UpdateChecker::CopyBody(UrlStream& stream, std::FILE* file, ProgressWindow& progress,
                             Sha256& hash) {
    const auto length = stream.contentLength();
    char buffer[kBlockSize];
    uint64_t total = 0;
    for (;;) {
        const long n = stream.Read(buffer, sizeof buffer);
        if (n < 0) {
            lastError_ = stream.error();
            return false;
        }
        if (n == 0) break;
        hash.Update(std::string_view(buffer, static_cast<std::size_t>(n)));
        if (!WriteAll(file, buffer, static_cast<std::size_t>(n))) {
            lastError_ = errno;
            return false;
        }
        total += static_cast<uint64_t>(n);
        progress.SetStatusText(Format(msg::kUpdProgressKByte, static_cast<int>(total / 1000)));
        if (length && *length > 0) progress.SetProgress(static_cast<int>(total * 100 / *length));
        progress.PumpMessages(true);
        if (progress.cancelled()) {
            lastError_ = transport_error::kCancelled;
            return false;
        }
    }
    if (!length) {
        lastError_ = transport_error::kLengthUnknown;
        return false;
    }
    if (total != *length) {
        lastError_ = transport_error::kPartialBody;
        return false;
    }
    return true;
}

std::unique_ptr<ProgressWindow> UpdateChecker::OpenDownloadWindow() {
    auto progress = ui_.OpenProgressWindow(msg::kUpdProgressTitle);
    progress->SetProgressRange(0, 100, 1);
    progress->FitLayout(kProgressLines, kProgressWidth);
    return progress;
}

bool UpdateChecker::SaveBody(UrlStream& stream, std::FILE* file, ProgressWindow& progress,
                             const std::optional<Sha256Digest>& expected) {
    if (!IsSuccessStatus(stream.status())) {
        lastError_ = stream.status();
        return false;
    }
    Sha256 hash;
    if (!CopyBody(stream, file, progress, hash)) return false;
    if (expected && hash.Finish() != *expected) {
        lastError_ = transport_error::kDigestMismatch;
        return false;
    }
    return true;
}

bool UpdateChecker::FinishFile(std::FILE* file, const std::string& path, bool complete) {
    if (complete) {
        if (const int error = platform::MakeExecutable(file); error != 0) {
            lastError_ = error;
            complete = false;
        }
    }
    if (std::fclose(file) != 0 && complete) {
        lastError_ = errno ? errno : EIO;
        complete = false;
    }
    if (!complete) platform::RemoveFile(path);
    return complete;
}

bool UpdateChecker::DownloadToFile(UrlStream& stream, const std::string& fileName,
                                   std::string& path, const std::optional<Sha256Digest>& expected) {
    if (!IsSuccessStatus(stream.status())) {
        lastError_ = stream.status();
        return false;
    }
    std::FILE* file = CreateDownloadFile(tempFolder, fileName, path);
    if (!file) {
        lastError_ = errno;
        return false;
    }
    bool complete = false;
    {
        auto progress = OpenDownloadWindow();
        CancelScope scope(transport_.get(), *progress);
        complete = SaveBody(stream, file, *progress, expected);
    }
    return FinishFile(file, path, complete);
}

// Reads the update information file into `text` within the check's time
// limit; false with lastError_ set.
bool UpdateChecker::FetchInformation(const std::string& url, std::string& text) {
    const TransportClock::time_point deadline = TransportClock::now() + checkLimit;
    bool opened = false;
    bool read = false;
    {
        auto progress = ui_.OpenProgressWindow(msg::kUpdCheckProgressTitle);
        progress->FitLayout(kProgressLines, kProgressWidth);
        CancelScope scope(transport_.get(), *progress);
        if (transport_) transport_->SetDeadline(deadline);
        std::string canonical = url;
        auto stream = OpenUrl(canonical);
        opened = stream != nullptr;
        read = opened && ReadUrlText(*stream, text);
        stream.reset();
        if (transport_) transport_->SetDeadline(std::nullopt);
    }
    if (read) return true;
    if (lastError_ == transport_error::kCancelled) {
        ShowInfo(ui_, msg::kUpdCheckCancelled);
    } else if (lastError_ == transport_error::kTimedOut && TransportClock::now() >= deadline) {
        ShowInfo(ui_, Format(msg::kUpdCheckTimedOut, static_cast<int>(checkLimit.count() / 1000)) +
                          Format(msg::kUpdErrorCode, lastError_));
    } else {
        ShowFailure(opened ? msg::kUpdNoInformation : msg::kUpdNoServer);
    }
    return false;
}

// Reads the installed version and the update information; false after a
// message.
bool UpdateChecker::FetchVersions(const std::string& productName, const std::string& url,
                                  const std::string& setupFileName, Versions& v) {
    FileVersionInfo info;
    if (info.LoadFromFile(productName + ".exe")) v.installed = info.GetStringValue("FileVersion");
    if (v.installed.empty()) {
        ShowInfo(ui_, msg::kUpdNoVersion);
        return false;
    }
    if (!IsOnline()) {
        lastError_ = transport_ ? transport_->error() : transport_error::kInitFailed;
        ShowFailure(msg::kUpdNoInternet);
        return false;
    }
    std::string text;
    if (!FetchInformation(url, text)) return false;
    auto parsed = ParseUpdateInfo(text, productName, v.installed);
    v.digest = FindInstallerDigest(text, setupFileName);
    if (!parsed || v.digest.state == InstallerDigest::State::Malformed) {
        ShowInfo(ui_, msg::kUpdBadInformation);
        return false;
    }
    v.server = std::move(parsed->serverVersion);
    v.history = std::move(parsed->history);
    return true;
}

// Downloads and starts the installer, then offers to end the program. The
// progress window is open from the request on, so that the wait for the
// server can be cancelled as well; a download that is not complete leaves
// no file.
bool UpdateChecker::Install(const std::string& url, const std::string& setupFileName,
                            const InstallerDigest& digest) {
    std::string path;
    std::FILE* file = CreateDownloadFile(tempFolder, setupFileName, path);
    if (!file) {
        lastError_ = errno;
        ShowFailure(msg::kUpdDownloadFailed);
        return false;
    }
    std::optional<Sha256Digest> expected;
    if (digest.state == InstallerDigest::State::Given) expected = digest.digest;
    bool opened = false;
    bool complete = false;
    {
        auto progress = OpenDownloadWindow();
        CancelScope scope(transport_.get(), *progress);
        std::string canonical = url;
        auto stream = OpenUrl(canonical);
        opened = stream != nullptr;
        complete = opened && SaveBody(*stream, file, *progress, expected);
    }
    if (!FinishFile(file, path, complete)) {
        if (lastError_ == transport_error::kCancelled) {
            ShowInfo(ui_, msg::kUpdDownloadCancelled);
        } else if (!opened) {
            ShowFailure(msg::kUpdNoServer);
        } else {
            ShowFailure(lastError_ == transport_error::kDigestMismatch ? msg::kUpdDigestMismatch
                                                                       : msg::kUpdDownloadFailed);
        }
        return false;
    }
    if (const int error = StartProgram(path, installerPid); error != 0) {
        lastError_ = error;
        installerPid = 0;
        ShowFailure(msg::kUpdStartFailed);
        return false;
    }
    if (AskYesNo(ui_, QuestionId::QuitForInstaller, msg::kUpdExitQuestion, MessageIcon::None)) {
        ui_.ExitProgram(1);
    }
    return true;
}

bool UpdateChecker::CheckForUpdate(const std::string& productName, const std::string& baseUrl,
                                   const std::string& infoPath, const std::string& setupFileName) {
    Versions v;
    if (!FetchVersions(productName, baseUrl + infoPath, setupFileName, v)) return false;
    if (v.server == v.installed) {
        ShowInfo(ui_, msg::kUpdUpToDate);
        return true;
    }
    const std::string serverShown = Cp1252ToUtf8(v.server);
    if (VersionNumber(v.installed) > VersionNumber(v.server)) {
        ShowInfo(ui_, msg::kUpdServerOlder + serverShown);
        return true;
    }
    UpdateDialogTexts texts;
    texts.titleText = Format(msg::kUpdDialogTitle, productName.c_str(), serverShown.c_str());
    texts.historyText = Cp1252ToUtf8(v.history);
    texts.propertiesText = msg::kUpdFree;
    texts.propertiesColour = Rgb(0, 100, 0);
    if (!ui_.ShowUpdateDialog(texts)) return false;
    return Install(baseUrl + setupFileName, setupFileName, v.digest);
}

}  // namespace belvaron
