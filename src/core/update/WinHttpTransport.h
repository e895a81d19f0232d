#pragma once

#include "core/update/Transport.h"

namespace belvaron {

// The transport over WinHTTP (Windows only). Follows up to five redirects,
// never from HTTPS to plain HTTP; uses the system's proxy settings. A
// transfer that receives nothing for `idleMs`, or runs past the deadline,
// fails with kTimedOut.
class WinHttpTransport : public Transport {
public:
    explicit WinHttpTransport(TransportTimeouts timeouts = {});
    ~WinHttpTransport() override;
    WinHttpTransport(const WinHttpTransport&) = delete;
    WinHttpTransport& operator=(const WinHttpTransport&) = delete;

    bool IsOnline() const override { return session_ != nullptr; }
    std::unique_ptr<UrlStream> OpenUrl(std::string& url) override;
    int error() const override { return error_; }
    void SetDeadline(std::optional<TransportClock::time_point> deadline) override {
        deadline_ = deadline;
    }

private:
    TransportTimeouts timeouts_;
    std::optional<TransportClock::time_point> deadline_;
    void* session_ = nullptr;
    int error_ = 0;
};

}  // namespace belvaron
