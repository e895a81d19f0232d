#pragma once

#include <functional>
#include <memory>

#include "core/update/Transport.h"

namespace belvaron {

// The transport over libcurl. Follows up to five redirects, never from
// HTTPS to plain HTTP; uses the proxy of the environment (http_proxy, ...).
// A transfer that receives nothing for `idleMs`, or runs past the deadline,
// fails with kTimedOut; one whose cancel check says so, with kCancelled.
class CurlTransport : public Transport {
public:
    explicit CurlTransport(TransportTimeouts timeouts = {});

    bool IsOnline() const override { return initError_ == 0; }
    std::unique_ptr<UrlStream> OpenUrl(std::string& url) override;
    int error() const override { return error_; }
    void SetDeadline(std::optional<TransportClock::time_point> deadline) override {
        deadline_ = deadline;
    }
    void SetCancelCheck(std::function<bool()> check) override { *cancel_ = std::move(check); }

private:
    TransportTimeouts timeouts_;
    std::optional<TransportClock::time_point> deadline_;
    // Shared with the streams, so that a check set later reaches them too.
    std::shared_ptr<std::function<bool()>> cancel_ = std::make_shared<std::function<bool()>>();
    int initError_ = 0;
    int error_ = 0;
};

}  // namespace belvaron
