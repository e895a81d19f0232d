#pragma once

#include <functional>
#include <memory>

#include "core/update/Transport.h"

namespace belvaron {

// The transport over WinHTTP (Windows only). Follows up to five redirects,
// never from HTTPS to plain HTTP; uses the system's proxy settings. A
// transfer that receives nothing for `idleMs`, or runs past the deadline,
// fails with kTimedOut. The cancel check is asked before each wait of
// WinHTTP (a synchronous call cannot be left part way; its wait is bounded
// by the idle time-out and the deadline).
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
    void SetCancelCheck(std::function<bool()> check) override {
        cancel_ = check ? std::make_shared<const std::function<bool()>>(std::move(check)) : nullptr;
    }

private:
    TransportTimeouts timeouts_;
    std::optional<TransportClock::time_point> deadline_;
    std::shared_ptr<const std::function<bool()>> cancel_;
    void* session_ = nullptr;
    int error_ = 0;
};

}  // namespace belvaron
