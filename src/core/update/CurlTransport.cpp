#include "core/update/CurlTransport.h"

#include <curl/curl.h>
#include <strings.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <string_view>

namespace belvaron {

namespace {

constexpr const char* kUserAgent = "Update_Suche";
static_assert(transport_error::kCancelled == CURLE_ABORTED_BY_CALLBACK);
constexpr long kMaxRedirects = 5;

int GlobalInit() {
    static std::once_flag once;
    static CURLcode result = CURLE_OK;
    std::call_once(once, [] { result = curl_global_init(CURL_GLOBAL_DEFAULT); });
    return result;
}

bool SaysPlainHttp(std::string_view url) {
    constexpr std::string_view kHttp = "http://";
    if (url.size() < kHttp.size()) return false;
    for (std::size_t i = 0; i < kHttp.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(url[i])) != kHttp[i]) return false;
    }
    return true;
}

// The canonical form of a URL (blanks and other unsafe characters
// percent-encoded); nullopt when it is not a URL.
std::optional<std::string> Canonical(const std::string& url) {
    CURLU* handle = curl_url();
    if (!handle) return std::nullopt;
    std::optional<std::string> result;
    char* out = nullptr;
    if (curl_url_set(handle, CURLUPART_URL, url.c_str(), CURLU_ALLOW_SPACE | CURLU_URLENCODE) ==
            CURLUE_OK &&
        curl_url_get(handle, CURLUPART_URL, &out, 0) == CURLUE_OK) {
        result = out;
    }
    curl_free(out);
    curl_url_cleanup(handle);
    return result;
}

// One transfer on a multi handle of its own, driven by the reader: the body
// is received only while Read waits for it, so at most one receive burst is
// buffered.
class CurlStream : public UrlStream {
public:
    CurlStream(const TransportTimeouts& timeouts,
               std::optional<TransportClock::time_point> deadline,
               std::shared_ptr<const std::function<bool()>> cancel)
        : timeouts_(timeouts), deadline_(deadline), cancel_(std::move(cancel)) {}
    ~CurlStream() override;

    // Starts the transfer and waits for the final response header; the
    // transport's error code, 0 on success.
    int Start(const std::string& url);

    int status() const override { return status_; }
    std::optional<uint64_t> contentLength() const override { return length_; }
    long Read(char* buffer, std::size_t size) override;
    int error() const override { return error_; }

private:
    static std::size_t OnHeader(char* data, std::size_t, std::size_t count, void* self);
    static std::size_t OnBody(char* data, std::size_t, std::size_t count, void* self);
    bool Configure(const std::string& url);
    // Runs the transfer until `ready` holds or the transfer has ended; a wait
    // of idleMs without a received byte ends it with kTimedOut, the cancel
    // check (asked between waits of at most kCancelPollMs) with kCancelled.
    template <typename Ready>
    void Drive(Ready ready);
    void CollectResult();

    TransportTimeouts timeouts_;
    std::optional<TransportClock::time_point> deadline_;
    std::shared_ptr<const std::function<bool()>> cancel_;
    CURLM* multi_ = nullptr;
    CURL* easy_ = nullptr;
    curl_slist* headers_ = nullptr;
    bool attached_ = false;
    std::string pending_;
    std::size_t pendingPos_ = 0;
    uint64_t received_ = 0;  // header and body bytes, to tell progress
    bool sawLocation_ = false;
    bool headerDone_ = false;
    bool finished_ = false;
    CURLcode result_ = CURLE_OK;
    int status_ = 0;
    std::optional<uint64_t> length_;
    int error_ = 0;
};

CurlStream::~CurlStream() {
    if (attached_) curl_multi_remove_handle(multi_, easy_);
    if (easy_) curl_easy_cleanup(easy_);
    if (multi_) curl_multi_cleanup(multi_);
    curl_slist_free_all(headers_);
}

bool CurlStream::Configure(const std::string& url) {
    const char* protocols = SaysPlainHttp(url) ? "http,https" : "https";
    headers_ = curl_slist_append(headers_, "Cache-Control: no-cache");
    headers_ = curl_slist_append(headers_, "Pragma: no-cache");
    return headers_ && curl_easy_setopt(easy_, CURLOPT_URL, url.c_str()) == CURLE_OK &&
           curl_easy_setopt(easy_, CURLOPT_PROTOCOLS_STR, protocols) == CURLE_OK &&
           curl_easy_setopt(easy_, CURLOPT_REDIR_PROTOCOLS_STR, protocols) == CURLE_OK &&
           curl_easy_setopt(easy_, CURLOPT_FOLLOWLOCATION, 1L) == CURLE_OK &&
           curl_easy_setopt(easy_, CURLOPT_MAXREDIRS, kMaxRedirects) == CURLE_OK &&
           curl_easy_setopt(easy_, CURLOPT_SSL_VERIFYPEER, 1L) == CURLE_OK &&
           curl_easy_setopt(easy_, CURLOPT_SSL_VERIFYHOST, 2L) == CURLE_OK &&
           curl_easy_setopt(easy_, CURLOPT_CONNECTTIMEOUT_MS, timeouts_.connectMs) == CURLE_OK &&
           curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L) == CURLE_OK &&
           curl_easy_setopt(easy_, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L) == CURLE_OK &&
           curl_easy_setopt(easy_, CURLOPT_USERAGENT, kUserAgent) == CURLE_OK &&
           curl_easy_setopt(easy_, CURLOPT_HTTPHEADER, headers_) == CURLE_OK &&
           curl_easy_setopt(easy_, CURLOPT_HEADERFUNCTION, &CurlStream::OnHeader) == CURLE_OK &&
           curl_easy_setopt(easy_, CURLOPT_HEADERDATA, this) == CURLE_OK &&
           curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &CurlStream::OnBody) == CURLE_OK &&
           curl_easy_setopt(easy_, CURLOPT_WRITEDATA, this) == CURLE_OK;
}

int CurlStream::Start(const std::string& url) {
    multi_ = curl_multi_init();
    easy_ = curl_easy_init();
    if (!multi_ || !easy_ || !Configure(url)) return transport_error::kInitFailed;
    if (curl_multi_add_handle(multi_, easy_) != CURLM_OK) return transport_error::kInitFailed;
    attached_ = true;
    Drive([this] { return headerDone_; });
    if (!headerDone_ && result_ != CURLE_OK) return result_;
    long code = 0;
    curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &code);
    status_ = static_cast<int>(code);
    curl_off_t length = -1;
    curl_easy_getinfo(easy_, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    if (length >= 0) length_ = static_cast<uint64_t>(length);
    return 0;
}

std::size_t CurlStream::OnHeader(char* data, std::size_t, std::size_t count, void* self) {
    auto& s = *static_cast<CurlStream*>(self);
    s.received_ += count;
    const std::string_view line(data, count);
    if (line.starts_with("HTTP/")) {
        s.sawLocation_ = false;
    } else if (line.size() > 9 && strncasecmp(line.data(), "location:", 9) == 0) {
        s.sawLocation_ = true;
    } else if (line == "\r\n" || line == "\n") {
        long code = 0;
        curl_easy_getinfo(s.easy_, CURLINFO_RESPONSE_CODE, &code);
        const bool interim = code / 100 == 1 || (code / 100 == 3 && s.sawLocation_);
        if (!interim) s.headerDone_ = true;
    }
    return count;
}

std::size_t CurlStream::OnBody(char* data, std::size_t, std::size_t count, void* self) {
    auto& s = *static_cast<CurlStream*>(self);
    s.received_ += count;
    s.headerDone_ = true;
    s.pending_.append(data, count);
    return count;
}

void CurlStream::CollectResult() {
    int left = 0;
    while (CURLMsg* m = curl_multi_info_read(multi_, &left)) {
        if (m->msg != CURLMSG_DONE) continue;
        finished_ = true;
        result_ = m->data.result;
    }
}

template <typename Ready>
void CurlStream::Drive(Ready ready) {
    using Clock = std::chrono::steady_clock;
    auto lastProgress = Clock::now();
    uint64_t seen = received_;
    while (!finished_) {
        int running = 0;
        if (curl_multi_perform(multi_, &running) != CURLM_OK) {
            finished_ = true;
            result_ = CURLE_FAILED_INIT;
            return;
        }
        CollectResult();
        if (finished_ || ready()) return;
        const auto now = Clock::now();
        if (received_ != seen) {
            seen = received_;
            lastProgress = now;
        }
        const long idle = static_cast<long>(
            std::chrono::duration_cast<std::chrono::milliseconds>(now - lastProgress).count());
        long wait = timeouts_.idleMs - idle;
        if (deadline_) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(*deadline_ - now);
            wait = std::min<long>(wait, static_cast<long>(left.count()));
        }
        if (wait <= 0) {
            finished_ = true;
            result_ = CURLE_OPERATION_TIMEDOUT;
            return;
        }
        if (cancel_ && *cancel_) {
            if ((*cancel_)()) {
                finished_ = true;
                result_ = CURLE_ABORTED_BY_CALLBACK;
                return;
            }
            wait = std::min(wait, Transport::kCancelPollMs);
        }
        curl_multi_poll(multi_, nullptr, 0, static_cast<int>(wait), nullptr);
    }
}

long CurlStream::Read(char* buffer, std::size_t size) {
    std::size_t copied = 0;
    while (copied < size) {
        if (pendingPos_ == pending_.size()) {
            pending_.clear();
            pendingPos_ = 0;
            if (finished_) break;
            Drive([this] { return !pending_.empty(); });
            continue;
        }
        const std::size_t n = std::min(size - copied, pending_.size() - pendingPos_);
        std::memcpy(buffer + copied, pending_.data() + pendingPos_, n);
        pendingPos_ += n;
        copied += n;
    }
    if (copied == 0 && result_ != CURLE_OK) {
        error_ = result_;
        return -1;
    }
    return static_cast<long>(copied);
}

}  // namespace

CurlTransport::CurlTransport(TransportTimeouts timeouts)
    : timeouts_(timeouts), initError_(GlobalInit()) {
    error_ = initError_;
}

std::unique_ptr<UrlStream> CurlTransport::OpenUrl(std::string& url) {
    const auto canonical = Canonical(url);
    if (!canonical) {
        error_ = transport_error::kBadUrl;
        return nullptr;
    }
    url = *canonical;
    auto stream = std::make_unique<CurlStream>(timeouts_, deadline_, cancel_);
    if (const int code = stream->Start(url); code != 0) {
        error_ = code;
        return nullptr;
    }
    return stream;
}

}  // namespace belvaron
