#include "core/update/WinHttpTransport.h"

#include <windows.h>
// After windows.h:
#include <winhttp.h>

#include <algorithm>
#include <cctype>
#include <cwctype>
#include <string>
#include <string_view>

namespace belvaron {

namespace {

constexpr const wchar_t* kUserAgent = L"Update_Suche";
constexpr int kMaxRedirects = 5;
constexpr const wchar_t* kNoCacheHeaders = L"Cache-Control: no-cache\r\nPragma: no-cache\r\n";

// Error codes as the libcurl transport reports them.
constexpr int kUnsupportedProtocol = 1;
constexpr int kCouldNotResolve = 6;
constexpr int kCouldNotConnect = 7;
constexpr int kTooManyRedirects = 47;
constexpr int kSendError = 55;
constexpr int kReceiveError = 56;
constexpr int kPeerVerification = 60;

std::wstring Wide(std::string_view text) {
    if (text.empty()) return {};
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    return wide;
}

std::string Narrow(std::wstring_view wide) {
    std::string text;
    for (wchar_t c : wide) text += static_cast<char>(c < 0x80 ? c : '?');
    return text;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
    }
    return true;
}

// The canonical form: "https://" before a URL without a scheme, blanks,
// control characters and bytes beyond ASCII percent-encoded; nullopt when
// it is not an http or https URL with a host.
std::optional<std::string> Canonical(const std::string& url, int& error) {
    std::string text = url;
    if (text.find("://") == std::string::npos) text = "https://" + text;
    if (!StartsWithNoCase(text, "http://") && !StartsWithNoCase(text, "https://")) {
        error = kUnsupportedProtocol;
        return std::nullopt;
    }
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c <= 0x20 || c >= 0x7F || ch == '"' || ch == '<' || ch == '>' || ch == '\\' ||
            ch == '^' || ch == '`' || ch == '{' || ch == '|' || ch == '}') {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += ch;
        }
    }
    const std::wstring wide = Wide(out);
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = static_cast<DWORD>(-1);
    if (!WinHttpCrackUrl(wide.c_str(), 0, 0, &parts) || parts.dwHostNameLength == 0) {
        error = transport_error::kBadUrl;
        return std::nullopt;
    }
    return out;
}

int TransportError(DWORD error) {
    switch (error) {
        case ERROR_WINHTTP_TIMEOUT:
        case WSAETIMEDOUT:  // Wine reports the socket's error
            return transport_error::kTimedOut;
        case ERROR_WINHTTP_NAME_NOT_RESOLVED:
            return kCouldNotResolve;
        case ERROR_WINHTTP_CANNOT_CONNECT:
        case WSAECONNREFUSED:
        case ERROR_WINHTTP_CONNECTION_ERROR:
            return kCouldNotConnect;
        case ERROR_WINHTTP_SECURE_FAILURE:
        case ERROR_WINHTTP_SECURE_INVALID_CA:
        case ERROR_WINHTTP_SECURE_CERT_CN_INVALID:
        case ERROR_WINHTTP_SECURE_CERT_DATE_INVALID:
            return kPeerVerification;
        case ERROR_WINHTTP_INVALID_URL:
        case ERROR_WINHTTP_UNRECOGNIZED_SCHEME:
            return transport_error::kBadUrl;
        case ERROR_WINHTTP_INVALID_SERVER_RESPONSE:
            return kReceiveError;
        default:
            return kSendError;
    }
}

class Handle {
public:
    Handle() = default;
    explicit Handle(HINTERNET h) : h_(h) {}
    ~Handle() { Reset(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    Handle& operator=(Handle&& other) noexcept {
        Reset();
        h_ = other.h_;
        other.h_ = nullptr;
        return *this;
    }
    void Reset() {
        if (h_) WinHttpCloseHandle(h_);
        h_ = nullptr;
    }
    HINTERNET get() const { return h_; }

private:
    HINTERNET h_ = nullptr;
};

// One transfer; the response header of the final response has arrived when
// Start returns 0. The body is received only while Read waits for it.
class WinHttpStream : public UrlStream {
public:
    WinHttpStream(HINTERNET session, const TransportTimeouts& timeouts,
                  std::optional<TransportClock::time_point> deadline,
                  std::shared_ptr<const std::function<bool()>> cancel)
        : session_(session), timeouts_(timeouts), deadline_(deadline), cancel_(std::move(cancel)) {}

    // Opens `url` and follows redirects; 0 or the transport's error code.
    int Start(std::string url);

    int status() const override { return status_; }
    std::optional<uint64_t> contentLength() const override { return length_; }
    long Read(char* buffer, std::size_t size) override;
    int error() const override { return error_; }

private:
    int Request(const std::string& url);
    // Before each wait: kCancelled when the cancel check asks to stop,
    // kTimedOut when the deadline has passed, else 0 with the waits of the
    // next call set from the idle time-out and the deadline.
    int BeforeWait();
    std::wstring QueryHeader(DWORD what) const;

    HINTERNET session_;
    TransportTimeouts timeouts_;
    std::optional<TransportClock::time_point> deadline_;
    std::shared_ptr<const std::function<bool()>> cancel_;
    Handle connection_;
    Handle request_;
    int status_ = 0;
    std::optional<uint64_t> length_;
    uint64_t received_ = 0;
    bool ended_ = false;
    int error_ = 0;
};

int WinHttpStream::BeforeWait() {
    if (cancel_ && *cancel_ && (*cancel_)()) return transport_error::kCancelled;
    long wait = timeouts_.idleMs;
    if (deadline_) {
        const auto left =
            std::chrono::ceil<std::chrono::milliseconds>(*deadline_ - TransportClock::now());
        if (left.count() <= 0) return transport_error::kTimedOut;
        wait = std::min<long>(wait, static_cast<long>(left.count()));
    }
    const int connect = static_cast<int>(std::min(wait, timeouts_.connectMs));
    WinHttpSetTimeouts(request_.get(), connect, connect, static_cast<int>(wait),
                       static_cast<int>(wait));
    // Waiting for the response header has a time-out of its own.
    DWORD header = static_cast<DWORD>(wait);
    WinHttpSetOption(request_.get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &header,
                     sizeof header);
    return 0;
}

std::wstring WinHttpStream::QueryHeader(DWORD what) const {
    DWORD size = 0;
    WinHttpQueryHeaders(request_.get(), what, WINHTTP_HEADER_NAME_BY_INDEX, nullptr, &size,
                        WINHTTP_NO_HEADER_INDEX);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0) return {};
    std::wstring value(size / sizeof(wchar_t), L'\0');
    if (!WinHttpQueryHeaders(request_.get(), what, WINHTTP_HEADER_NAME_BY_INDEX, value.data(),
                             &size, WINHTTP_NO_HEADER_INDEX)) {
        return {};
    }
    value.resize(size / sizeof(wchar_t));
    return value;
}

int WinHttpStream::Request(const std::string& url) {
    const std::wstring wide = Wide(url);
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = static_cast<DWORD>(-1);
    parts.dwUrlPathLength = static_cast<DWORD>(-1);
    parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (!WinHttpCrackUrl(wide.c_str(), 0, 0, &parts)) return transport_error::kBadUrl;
    const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    std::wstring path(parts.lpszUrlPath, parts.dwUrlPathLength);
    path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    if (path.empty()) path = L"/";
    const bool secure = parts.nScheme == INTERNET_SCHEME_HTTPS;

    request_.Reset();
    connection_ = Handle(WinHttpConnect(session_, host.c_str(), parts.nPort, 0));
    if (!connection_.get()) return TransportError(GetLastError());
    request_ = Handle(WinHttpOpenRequest(
        connection_.get(), L"GET", path.c_str(), nullptr, WINHTTP_NO_REFERER,
        WINHTTP_DEFAULT_ACCEPT_TYPES, WINHTTP_FLAG_REFRESH | (secure ? WINHTTP_FLAG_SECURE : 0)));
    if (!request_.get()) return TransportError(GetLastError());
    DWORD policy = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
    WinHttpSetOption(request_.get(), WINHTTP_OPTION_REDIRECT_POLICY, &policy, sizeof policy);
    if (const int code = BeforeWait(); code != 0) return code;
    if (!WinHttpSendRequest(request_.get(), kNoCacheHeaders, static_cast<DWORD>(-1L),
                            WINHTTP_NO_REQUEST_DATA, 0, 0, 0)) {
        return TransportError(GetLastError());
    }
    if (const int code = BeforeWait(); code != 0) return code;
    if (!WinHttpReceiveResponse(request_.get(), nullptr)) return TransportError(GetLastError());
    DWORD code = 0;
    DWORD size = sizeof code;
    WinHttpQueryHeaders(request_.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                        WINHTTP_HEADER_NAME_BY_INDEX, &code, &size, WINHTTP_NO_HEADER_INDEX);
    status_ = static_cast<int>(code);
    return 0;
}

// The target of a Location header relative to `base`.
std::string ResolveLocation(const std::string& base, const std::string& location) {
    if (location.find("://") != std::string::npos) return location;
    const std::size_t hostStart = base.find("://") + 3;
    const std::size_t pathStart = base.find('/', hostStart);
    const std::string origin = base.substr(0, pathStart);
    if (location.starts_with("//")) return base.substr(0, hostStart - 2) + location;
    if (location.starts_with("/")) return origin + location;
    const std::string path = pathStart == std::string::npos ? "/" : base.substr(pathStart);
    return origin + path.substr(0, path.rfind('/') + 1) + location;
}

int WinHttpStream::Start(std::string url) {
    for (int redirects = 0;; ++redirects) {
        if (const int code = Request(url); code != 0) return code;
        const bool redirect =
            status_ == 301 || status_ == 302 || status_ == 303 || status_ == 307 || status_ == 308;
        const std::wstring location = redirect ? QueryHeader(WINHTTP_QUERY_LOCATION) : L"";
        if (location.empty()) break;
        if (redirects == kMaxRedirects) return kTooManyRedirects;
        const std::string next = ResolveLocation(url, Narrow(location));
        if (StartsWithNoCase(url, "https://") && !StartsWithNoCase(next, "https://")) {
            return kUnsupportedProtocol;
        }
        int error = 0;
        const auto canonical = Canonical(next, error);
        if (!canonical) return error;
        url = *canonical;
    }
    const std::wstring length = QueryHeader(WINHTTP_QUERY_CONTENT_LENGTH);
    if (!length.empty() && std::all_of(length.begin(), length.end(), iswdigit)) {
        length_ = std::stoull(length);
    }
    return 0;
}

long WinHttpStream::Read(char* buffer, std::size_t size) {
    std::size_t copied = 0;
    // After a failure the request is not touched again: every later read
    // reports the same failure.
    while (copied < size && !ended_ && error_ == 0) {
        if (const int code = BeforeWait(); code != 0) {
            error_ = code;
            break;
        }
        // Waits for the next bytes (a synchronous read would wait for all
        // `size` of them, past the deadline).
        DWORD available = 0;
        if (!WinHttpQueryDataAvailable(request_.get(), &available)) {
            error_ = TransportError(GetLastError());
            break;
        }
        DWORD n = 0;
        const DWORD chunk =
            static_cast<DWORD>(std::min<std::size_t>({size - copied, available, 1u << 20}));
        // Nothing available once the wait succeeded: the body has ended.
        if (chunk > 0 && !WinHttpReadData(request_.get(), buffer + copied, chunk, &n)) {
            error_ = TransportError(GetLastError());
            break;
        }
        if (n == 0) {
            ended_ = true;
            if (length_ && received_ < *length_) error_ = transport_error::kPartialBody;
            break;
        }
        copied += n;
        received_ += n;
    }
    if (copied == 0 && error_ != 0) return -1;
    return static_cast<long>(copied);
}

}  // namespace

WinHttpTransport::WinHttpTransport(TransportTimeouts timeouts) : timeouts_(timeouts) {
    session_ = WinHttpOpen(kUserAgent, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                           WINHTTP_NO_PROXY_BYPASS, 0);
    if (!session_) error_ = transport_error::kInitFailed;
}

WinHttpTransport::~WinHttpTransport() {
    if (session_) WinHttpCloseHandle(session_);
}

std::unique_ptr<UrlStream> WinHttpTransport::OpenUrl(std::string& url) {
    int error = 0;
    const auto canonical = Canonical(url, error);
    if (!canonical) {
        error_ = error;
        return nullptr;
    }
    url = *canonical;
    auto stream = std::make_unique<WinHttpStream>(session_, timeouts_, deadline_, cancel_);
    if (const int code = stream->Start(url); code != 0) {
        error_ = code;
        return nullptr;
    }
    return stream;
}

}  // namespace belvaron
