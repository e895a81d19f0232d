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

bool IsSuccessStatus(int status) { return status >= 200 && status < 300; }

// The transfer begins under `progress`; while the scope lives, the
// transport's waits ask the progress whether to go on.
class CancelScope {
public:
    CancelScope(Transport* transport, const TransferProgress* progress)
        : transport_(progress && progress->wait ? transport : nullptr) {
        if (progress && progress->begin) progress->begin();
        if (!transport_) return;
        transport_->SetCancelCheck([progress] { return !progress->wait(); });
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

UpdateChecker::UpdateChecker(std::unique_ptr<Transport> transport)
    : tempFolder(TempFolder()), transport_(std::move(transport)) {}

bool UpdateChecker::IsOnline() const { return transport_ && transport_->IsOnline(); }

std::string UpdateChecker::WithErrorCode(const char* message) const {
    return std::string(message) + Format(msg::kUpdErrorCode, lastError_);
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

bool UpdateChecker::CopyBody(UrlStream& stream, std::FILE* file, const TransferProgress* progress,
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
        if (progress && progress->received && !progress->received(total, length)) {
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

bool UpdateChecker::SaveBody(UrlStream& stream, std::FILE* file, const TransferProgress* progress,
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

bool UpdateChecker::FetchInformation(const std::string& url, const TransferProgress* progress,
                                     std::string& text, UpdateOffer& offer) {
    const TransportClock::time_point deadline = TransportClock::now() + checkLimit;
    bool opened = false;
    bool read = false;
    {
        CancelScope scope(transport_.get(), progress);
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
        offer.result = UpdateOffer::Result::Cancelled;
        offer.notices.Information(msg::kUpdCheckCancelled);
    } else if (lastError_ == transport_error::kTimedOut && TransportClock::now() >= deadline) {
        offer.notices.Information(
            Format(msg::kUpdCheckTimedOut, static_cast<int>(checkLimit.count() / 1000)) +
            Format(msg::kUpdErrorCode, lastError_));
    } else {
        offer.notices.Information(
            WithErrorCode(opened ? msg::kUpdNoInformation : msg::kUpdNoServer));
    }
    return false;
}

bool UpdateChecker::FetchVersions(const UpdateSource& source, const TransferProgress* progress,
                                  Versions& v, UpdateOffer& offer) {
    offer.result = UpdateOffer::Result::Failed;
    FileVersionInfo info;
    if (info.LoadFromFile(source.productName + ".exe")) {
        v.installed = info.GetStringValue("FileVersion");
    }
    if (v.installed.empty()) {
        offer.notices.Information(msg::kUpdNoVersion);
        return false;
    }
    if (!IsOnline()) {
        lastError_ = transport_ ? transport_->error() : transport_error::kInitFailed;
        offer.notices.Information(WithErrorCode(msg::kUpdNoInternet));
        return false;
    }
    std::string text;
    if (!FetchInformation(source.baseUrl + source.infoPath, progress, text, offer)) return false;
    auto parsed = ParseUpdateInfo(text, source.productName, v.installed);
    v.digest = FindInstallerDigest(text, source.setupFileName);
    if (!parsed || v.digest.state == InstallerDigest::State::Malformed) {
        offer.notices.Information(msg::kUpdBadInformation);
        return false;
    }
    v.server = std::move(parsed->serverVersion);
    v.history = std::move(parsed->history);
    return true;
}

UpdateOffer UpdateChecker::FindUpdate(const UpdateSource& source,
                                      const TransferProgress* progress) {
    UpdateOffer offer;
    Versions v;
    if (!FetchVersions(source, progress, v, offer)) return offer;
    if (v.server == v.installed) {
        offer.result = UpdateOffer::Result::UpToDate;
        offer.notices.Information(msg::kUpdUpToDate);
        return offer;
    }
    const std::string serverShown = Cp1252ToUtf8(v.server);
    if (VersionNumber(v.installed) > VersionNumber(v.server)) {
        offer.result = UpdateOffer::Result::ServerOlder;
        offer.notices.Information(msg::kUpdServerOlder + serverShown);
        return offer;
    }
    offer.result = UpdateOffer::Result::Offered;
    offer.dialog.titleText =
        Format(msg::kUpdDialogTitle, source.productName.c_str(), serverShown.c_str());
    offer.dialog.historyText = Cp1252ToUtf8(v.history);
    offer.dialog.propertiesText = msg::kUpdFree;
    offer.dialog.propertiesColour = Rgb(0, 100, 0);
    offer.digest = v.digest;
    return offer;
}

// The progress begins once the file exists and stays from the request on,
// so that the wait for the server can be cancelled as well.
InstallerDownload UpdateChecker::DownloadInstaller(const UpdateSource& source,
                                                   const InstallerDigest& digest,
                                                   const TransferProgress* progress) {
    InstallerDownload download;
    std::FILE* file = CreateDownloadFile(tempFolder, source.setupFileName, download.path);
    if (!file) {
        lastError_ = errno;
        download.notices.Information(WithErrorCode(msg::kUpdDownloadFailed));
        download.path.clear();
        return download;
    }
    std::optional<Sha256Digest> expected;
    if (digest.state == InstallerDigest::State::Given) expected = digest.digest;
    bool opened = false;
    bool complete = false;
    {
        CancelScope scope(transport_.get(), progress);
        std::string canonical = source.baseUrl + source.setupFileName;
        auto stream = OpenUrl(canonical);
        opened = stream != nullptr;
        complete = opened && SaveBody(*stream, file, progress, expected);
    }
    if (FinishFile(file, download.path, complete)) {
        download.result = InstallerDownload::Result::Complete;
        return download;
    }
    download.path.clear();
    if (lastError_ == transport_error::kCancelled) {
        download.result = InstallerDownload::Result::Cancelled;
        download.notices.Information(msg::kUpdDownloadCancelled);
    } else if (!opened) {
        download.notices.Information(WithErrorCode(msg::kUpdNoServer));
    } else {
        download.notices.Information(WithErrorCode(lastError_ == transport_error::kDigestMismatch
                                                       ? msg::kUpdDigestMismatch
                                                       : msg::kUpdDownloadFailed));
    }
    return download;
}

InstallerStart UpdateChecker::StartInstaller(const std::string& path) {
    InstallerStart start;
    if (const int error = StartProgram(path, start.pid); error != 0) {
        lastError_ = error;
        start.pid = 0;
        start.notices.Information(WithErrorCode(msg::kUpdStartFailed));
        return start;
    }
    start.started = true;
    return start;
}

}  // namespace belvaron
