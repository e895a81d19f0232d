#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/base/Notices.h"
#include "core/base/Sha256.h"
#include "core/base/UpdateDialogTexts.h"
#include "core/platform/System.h"
#include "core/update/Transport.h"
#include "core/update/UpdateInfo.h"

namespace belvaron {

// Where an update comes from.
struct UpdateSource {
    // The product: its installed version is the "FileVersion" of
    // productName + ".exe"; the information file names it in its entries.
    std::string productName;
    std::string baseUrl;        // the server, ending with '/'
    std::string infoPath;       // the update information file, below baseUrl
    std::string setupFileName;  // the installer, below baseUrl; its name in the temporary folder
};

// The progress window of one transfer, as the caller draws it. Each
// function may be empty. The calls come on the caller's thread.
struct TransferProgress {
    // The transfer begins: the window opens. Called once, before the server
    // is asked; not called when the operation fails before that.
    std::function<void()> begin;
    // The transfer waits for the server: lets the program's pending input
    // through, at least every Transport::kCancelPollMs; false cancels.
    std::function<bool()> wait;
    // A block of the installer was saved: the bytes so far and the announced
    // length (nullopt when unknown); false cancels.
    std::function<bool(uint64_t received, std::optional<uint64_t> length)> received;
};

// What the update information says about the installed version.
struct UpdateOffer {
    enum class Result {
        UpToDate,     // the server's version is the installed one
        ServerOlder,  // the server still has an older version
        Offered,      // a newer version: `dialog` offers it
        Failed,       // no version, no connection, no (correct) information
        Cancelled,    // the user cancelled the transfer
    };
    Result result = Result::Failed;
    Notices notices;           // the message for every result except Offered
    UpdateDialogTexts dialog;  // Offered: the update dialog's texts
    InstallerDigest digest;    // Offered: the installer's SHA-256 as the information gives it
};

// The installer saved in the temporary folder.
struct InstallerDownload {
    enum class Result { Complete, Failed, Cancelled };
    Result result = Result::Failed;
    std::string path;  // Complete: the installer's file, executable by the user
    Notices notices;   // Failed, Cancelled: the message
};

// The installer started.
struct InstallerStart {
    bool started = false;
    platform::ProcessId pid = 0;  // the started installer; 0 when none
    Notices notices;              // not started: the message
};

// The online update check's operations, for one click of "Updates?". They
// show nothing and ask nothing: each returns its outcome with its messages,
// and the caller shows them, the update dialog and the question whether to
// end the program, and draws the progress windows.
class UpdateChecker {
public:
    // `transport` null: every check reports that there is no internet
    // connection.
    explicit UpdateChecker(std::unique_ptr<Transport> transport);

    // Compares the installed version with the newest one in the update
    // information file source.baseUrl + source.infoPath: up to date when
    // they are equal, ServerOlder when the server's is older, else Offered
    // with the update dialog's texts. Fetching the information ends after
    // `checkLimit` at the latest; `progress` (may be null) sees the fetch
    // and cancels it within Transport::kCancelPollMs.
    UpdateOffer FindUpdate(const UpdateSource& source, const TransferProgress* progress = nullptr);

    // Saves source.baseUrl + source.setupFileName in a new private file of
    // tempFolder named after the setup file. `progress` (may be null) begins
    // once the file exists and sees every block; its cancel ends the
    // transfer, also while it waits for the server. Complete only for a 2xx
    // status and a complete body: its length announced (else
    // kLengthUnknown) and met (else kPartialBody), and its SHA-256 equal to
    // the one `digest` gives (else kDigestMismatch); then the file is
    // executable by the user. A failed or cancelled download leaves no file.
    InstallerDownload DownloadInstaller(const UpdateSource& source, const InstallerDigest& digest,
                                        const TransferProgress* progress = nullptr);

    // Starts the downloaded installer at `path`; it runs on its own.
    InstallerStart StartInstaller(const std::string& path);

    bool IsOnline() const;

    // The code of the last failure: errno, the transport's code or the HTTP
    // status.
    int lastError() const { return lastError_; }

    static constexpr std::size_t kMaxTextSize = 8u << 20;

    std::string tempFolder;  // where the installer goes; TempFolder() at construction
    std::chrono::milliseconds checkLimit{30000};  // the longest the information may take

private:
    struct Versions {
        std::string installed;
        std::string server;
        std::string history;
        InstallerDigest digest;
    };
    // Reads the installed version and the update information; false with
    // the result and the message in `offer`.
    bool FetchVersions(const UpdateSource& source, const TransferProgress* progress, Versions& v,
                       UpdateOffer& offer);
    // Reads the update information file into `text` within the check's
    // time limit; false with lastError_ set and the message in `offer`.
    bool FetchInformation(const std::string& url, const TransferProgress* progress,
                          std::string& text, UpdateOffer& offer);
    // Opens a URL (replaced by its canonical form); null on failure.
    std::unique_ptr<UrlStream> OpenUrl(std::string& url);
    // The whole body as text, up to its first NUL byte; false when the
    // status is not 2xx, the read fails or the text exceeds kMaxTextSize.
    bool ReadUrlText(UrlStream& stream, std::string& text);
    // The body into `file` after checking the status, the length and the
    // digest.
    bool SaveBody(UrlStream& stream, std::FILE* file, const TransferProgress* progress,
                  const std::optional<Sha256Digest>& expected);
    bool CopyBody(UrlStream& stream, std::FILE* file, const TransferProgress* progress,
                  Sha256& hash);
    // Makes a complete download executable and closes `file`; removes the
    // file at `path` when the download or this step failed.
    bool FinishFile(std::FILE* file, const std::string& path, bool complete);
    // `message` followed by the code of the last failure.
    std::string WithErrorCode(const char* message) const;

    std::unique_ptr<Transport> transport_;
    int lastError_ = 0;
};

}  // namespace belvaron
