#pragma once

#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "core/base/Sha256.h"
#include "core/base/UiPort.h"
#include "core/platform/System.h"
#include "core/update/Transport.h"
#include "core/update/UpdateInfo.h"

namespace belvaron {

// One online update check, created for one click of "Updates?". Every
// outcome except a cancelled update dialog is reported through the UI port.
class UpdateChecker {
public:
    // `transport` null: every check reports that there is no internet
    // connection.
    UpdateChecker(UiPort& ui, std::unique_ptr<Transport> transport);

    // Compares the installed version with the newest one in the update
    // information file baseUrl + infoPath; when the server's is not older,
    // offers it in the update dialog, downloads baseUrl + setupFileName into
    // the temporary folder, starts it and offers to end the program. False
    // after a failure or a cancelled dialog; true when up to date, when the
    // server's version is older, or when the installer was started.
    // Fetching the information ends after `checkLimit` at the latest. While
    // the information and the installer are fetched, a progress window is
    // open whose cancel ends the transfer within Transport::kCancelPollMs
    // and reports the cancel. The installer is started only when its length
    // was announced and met and, when the information file gives its
    // SHA-256, only when that matches; a download that fails or is
    // cancelled leaves no file.
    bool CheckForUpdate(const std::string& productName, const std::string& baseUrl,
                        const std::string& infoPath, const std::string& setupFileName);

    bool IsOnline() const;
    // Opens a URL (replaced by its canonical form); null on failure.
    std::unique_ptr<UrlStream> OpenUrl(std::string& url);
    // The whole body as text, up to its first NUL byte; false when the
    // status is not 2xx, the read fails or the text exceeds kMaxTextSize.
    bool ReadUrlText(UrlStream& stream, std::string& text);
    // Saves the body in a new private file of tempFolder named after
    // `fileName`, with the progress window (its " Abbruch " ends the
    // transfer, also while it waits for the server: kCancelled); `path` is
    // set as soon as the file exists. True only for a 2xx status and a
    // complete body: its length announced (else kLengthUnknown) and met
    // (else kPartialBody), and its SHA-256 equal to `expected` when given
    // (else kDigestMismatch); then the file is executable by the user. A
    // failed or cancelled download removes its file.
    bool DownloadToFile(UrlStream& stream, const std::string& fileName, std::string& path,
                        const std::optional<Sha256Digest>& expected = std::nullopt);

    // The code of the last failure: errno, the transport's code or the HTTP
    // status.
    int lastError() const { return lastError_; }

    static constexpr std::size_t kMaxTextSize = 8u << 20;

    std::string tempFolder;  // where the installer goes; TempFolder() at construction
    std::chrono::milliseconds checkLimit{30000};  // the longest the information may take
    platform::ProcessId installerPid = 0;         // the started installer, 0 when none

private:
    struct Versions {
        std::string installed;
        std::string server;
        std::string history;
        InstallerDigest digest;
    };
    bool FetchVersions(const std::string& productName, const std::string& url,
                       const std::string& setupFileName, Versions& v);
    bool FetchInformation(const std::string& url, std::string& text);
    bool Install(const std::string& url, const std::string& setupFileName,
                 const InstallerDigest& digest);
    std::unique_ptr<ProgressWindow> OpenDownloadWindow();
    // The body into `file` after checking the status, the length and the
    // digest.
    bool SaveBody(UrlStream& stream, std::FILE* file, ProgressWindow& progress,
                  const std::optional<Sha256Digest>& expected);
    bool CopyBody(UrlStream& stream, std::FILE* file, ProgressWindow& progress, Sha256& hash);
    // Makes a complete download executable and closes `file`; removes the
    // file at `path` when the download or this step failed.
    bool FinishFile(std::FILE* file, const std::string& path, bool complete);
    void ShowFailure(const char* message);

    UiPort& ui_;
    std::unique_ptr<Transport> transport_;
    int lastError_ = 0;
};

}  // namespace belvaron
