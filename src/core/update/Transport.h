#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace belvaron {

// Error codes of the transport, numbered like libcurl's.
namespace transport_error {
inline constexpr int kInitFailed = 2;
inline constexpr int kBadUrl = 3;
inline constexpr int kPartialBody = 18;  // the body ended before its announced length
inline constexpr int kTimedOut = 28;
inline constexpr int kCancelled = 42;  // the cancel check asked to stop
inline constexpr int kTooLarge = 63;
// Not libcurl's: a download whose length the server did not announce, so
// that its completeness cannot be told.
inline constexpr int kLengthUnknown = 1001;
// Not libcurl's: a download whose SHA-256 differs from the one announced.
inline constexpr int kDigestMismatch = 1002;
}  // namespace transport_error

using TransportClock = std::chrono::steady_clock;

// Time-outs of one transfer, in milliseconds.
struct TransportTimeouts {
    long connectMs = 5000;  // establishing the connection (TCP and TLS)
    long idleMs = 5000;     // the longest wait without receiving a byte
};

// One opened URL: the final response's header has arrived; the body is
// read in blocks. Destroying the stream closes the connection.
class UrlStream {
public:
    virtual ~UrlStream() = default;
    // The HTTP status code of the final response (after redirects).
    virtual int status() const = 0;
    // The announced body length; nullopt when the server sent none.
    virtual std::optional<uint64_t> contentLength() const = 0;
    // Reads the next `size` bytes of the body into `buffer`, fewer only at
    // the end of the body or before a failure: the count read, 0 at the end,
    // -1 on failure (see error()).
    virtual long Read(char* buffer, std::size_t size) = 0;
    // The code of the last failure.
    virtual int error() const = 0;
};

// Access to the update server, bypassing every cache. Plain HTTP is used
// only for URLs that say http://; everything else is HTTPS with the
// server's certificate verified.
class Transport {
public:
    virtual ~Transport() = default;
    // False when the transport could not be set up.
    virtual bool IsOnline() const = 0;
    // Opens `url` and waits for the response header; `url` becomes its
    // canonical form. Null on failure (see error()); an HTTP error status is
    // not a failure here.
    virtual std::unique_ptr<UrlStream> OpenUrl(std::string& url) = 0;
    // The code of the last failure of IsOnline or OpenUrl.
    virtual int error() const = 0;
    // A point in time after which OpenUrl and every Read of a stream opened
    // from now on fail with kTimedOut, however steadily bytes arrive;
    // nullopt: no such limit (the idle time-out still applies).
    virtual void SetDeadline(std::optional<TransportClock::time_point> deadline) = 0;
    // A check that OpenUrl and every Read of this transport's streams call
    // while they wait, at least every kCancelPollMs; once it returns true,
    // the transfer ends and the call fails with kCancelled. It is called on
    // the caller's thread, outside the transfer library, so it may let the
    // program's pending input through. It applies at once, also to streams
    // already open; the caller sets an empty check (never cancels) before
    // whatever the check refers to goes away.
    virtual void SetCancelCheck(std::function<bool()> check) = 0;

    static constexpr long kCancelPollMs = 50;
};

}  // namespace belvaron
