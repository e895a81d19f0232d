#pragma once

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <map>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace belvaron::test {

#ifdef _WIN32
using Socket = SOCKET;
inline int PollSockets(pollfd* fds, unsigned long count, int ms) { return WSAPoll(fds, count, ms); }
inline void CloseSocket(Socket s) { closesocket(s); }
inline constexpr int kSendFlags = 0;
#else
using Socket = int;
inline int PollSockets(pollfd* fds, nfds_t count, int ms) { return poll(fds, count, ms); }
inline void CloseSocket(Socket s) { close(s); }
inline constexpr int kSendFlags = MSG_NOSIGNAL;
#endif

// A small HTTP/1.1 server on 127.0.0.1 and a free port, for tests. It
// listens as soon as it is constructed and answers each connection on its
// own thread with the reply registered for the request's path (404 with an
// HTML page otherwise), then closes the connection. The destructor stops
// it, also while a connection waits.
class LocalHttpServer {
public:
    struct Reply {
        int status = 200;
        std::string body;
        // Content-Length sent; the body's size when not given. A larger
        // value than the body makes a truncated response.
        std::optional<std::size_t> announcedLength;
        bool sendLength = true;  // false: no Content-Length, end by closing
        bool silent = false;     // read the request, never answer
        bool holdOpen = false;   // after the body, keep the connection open
        std::string location;    // a Location header, for redirects
        int dripMs = 0;          // > 0: the body one byte at a time, this far apart
    };

    LocalHttpServer() {
#ifdef _WIN32
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        listenFd_ = socket(AF_INET, SOCK_STREAM, 0);
#else
        listenFd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
#endif
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        addr.sin_port = 0;
        socklen_t len = sizeof addr;
        if (!IsValid(listenFd_) || !MakeWakeChannel() ||
            bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
            listen(listenFd_, 16) != 0 ||
            getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
            throw std::runtime_error("test server cannot listen on 127.0.0.1");
        }
        port_ = ntohs(addr.sin_port);
        acceptor_ = std::thread([this] { AcceptLoop(); });
    }

    ~LocalHttpServer() {
        const char stop = 'x';
#ifdef _WIN32
        send(wake_[1], &stop, 1, 0);
#else
        [[maybe_unused]] const auto n = write(wake_[1], &stop, 1);
#endif
        acceptor_.join();
        std::vector<std::thread> workers;
        {
            std::lock_guard lock(mutex_);
            workers.swap(workers_);
        }
        for (auto& w : workers) w.join();
        CloseSocket(listenFd_);
        CloseSocket(wake_[0]);
        CloseSocket(wake_[1]);
#ifdef _WIN32
        WSACleanup();
#endif
    }

    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    void Serve(const std::string& path, Reply reply) {
        std::lock_guard lock(mutex_);
        replies_[path] = std::move(reply);
    }

    int port() const { return port_; }
    // "http://127.0.0.1:<port>/"
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/"; }

    // The header of every request received so far, in order of arrival.
    std::vector<std::string> Requests() const {
        std::lock_guard lock(mutex_);
        return requests_;
    }

private:
#ifdef _WIN32
    static bool IsValid(Socket s) { return s != INVALID_SOCKET; }
    // Windows has no pipe to poll: a datagram between two loopback sockets
    // wakes the waits instead.
    bool MakeWakeChannel() {
        wake_[0] = socket(AF_INET, SOCK_DGRAM, 0);
        wake_[1] = socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int len = sizeof addr;
        return wake_[0] != INVALID_SOCKET && wake_[1] != INVALID_SOCKET &&
               bind(wake_[0], reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
               getsockname(wake_[0], reinterpret_cast<sockaddr*>(&addr), &len) == 0 &&
               connect(wake_[1], reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    }
#else
    static bool IsValid(Socket s) { return s >= 0; }
    bool MakeWakeChannel() { return pipe2(wake_, O_CLOEXEC) == 0; }
#endif

    // Waits until `fd` is ready for `events` or the server stops; false on stop.
    bool WaitFor(Socket fd, short events) const {
        pollfd fds[2] = {{fd, events, 0}, {wake_[0], POLLIN, 0}};
        for (;;) {
            if (PollSockets(fds, 2, -1) < 0) continue;
            if (fds[1].revents) return false;
            if (fds[0].revents) return true;
        }
    }

    void AcceptLoop() {
        while (WaitFor(listenFd_, POLLIN)) {
#ifdef _WIN32
            const Socket fd = accept(listenFd_, nullptr, nullptr);
#else
            const Socket fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
#endif
            if (!IsValid(fd)) continue;
            std::lock_guard lock(mutex_);
            workers_.emplace_back([this, fd] {
                Answer(fd);
                CloseSocket(fd);
            });
        }
    }

    static const char* Reason(int status) {
        switch (status) {
            case 200:
                return "OK";
            case 302:
                return "Found";
            case 404:
                return "Not Found";
            default:
                return "Status";
        }
    }

    void Answer(Socket fd) {
        std::string request;
        char buffer[4096];
        while (request.find("\r\n\r\n") == std::string::npos) {
            if (!WaitFor(fd, POLLIN)) return;
            const auto n = recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0) return;
            request.append(buffer, static_cast<std::size_t>(n));
        }
        const auto start = request.find(' ') + 1;
        const std::string path = request.substr(start, request.find(' ', start) - start);
        Reply reply;
        {
            std::lock_guard lock(mutex_);
            requests_.push_back(request.substr(0, request.find("\r\n\r\n")));
            if (auto it = replies_.find(path); it != replies_.end()) {
                reply = it->second;
            } else {
                reply.status = 404;
                reply.body = "<html><body><h1>404 Not Found</h1></body></html>\n";
            }
        }
        if (reply.silent) {
            HoldOpen(fd);
            return;
        }
        std::string head =
            "HTTP/1.1 " + std::to_string(reply.status) + " " + Reason(reply.status) + "\r\n";
        if (reply.sendLength) {
            head += "Content-Length: " +
                    std::to_string(reply.announcedLength.value_or(reply.body.size())) + "\r\n";
        }
        if (!reply.location.empty()) head += "Location: " + reply.location + "\r\n";
        head += "Connection: close\r\n\r\n";
        if (SendAll(fd, head)) {
            if (reply.dripMs > 0) {
                Drip(fd, reply.body, reply.dripMs);
            } else {
                SendAll(fd, reply.body);
            }
        }
        if (reply.holdOpen) HoldOpen(fd);
#ifdef _WIN32
        shutdown(fd, SD_SEND);
#else
        shutdown(fd, SHUT_WR);
#endif
    }

    // Keeps the connection until the client gives up or the server stops.
    void HoldOpen(Socket fd) const {
        char buffer[512];
        while (WaitFor(fd, POLLIN) && recv(fd, buffer, sizeof buffer, 0) > 0) {
        }
    }

    // Sends one byte every `ms` until all are sent, the client is gone or
    // the server stops.
    void Drip(Socket fd, const std::string& bytes, int ms) const {
        for (const char byte : bytes) {
            pollfd wake{wake_[0], POLLIN, 0};
            if (PollSockets(&wake, 1, ms) != 0) return;
            if (!SendAll(fd, std::string(1, byte))) return;
        }
    }

    bool SendAll(Socket fd, const std::string& bytes) const {
        std::size_t sent = 0;
        while (sent < bytes.size()) {
            if (!WaitFor(fd, POLLOUT)) return false;
            const auto n =
                send(fd, bytes.data() + sent, static_cast<int>(bytes.size() - sent), kSendFlags);
            if (n <= 0) return false;
            sent += static_cast<std::size_t>(n);
        }
        return true;
    }

    Socket listenFd_{};
    Socket wake_[2] = {};
    int port_ = 0;
    std::thread acceptor_;
    mutable std::mutex mutex_;
    std::vector<std::thread> workers_;
    std::map<std::string, Reply> replies_;
    std::vector<std::string> requests_;
};

}  // namespace belvaron::test
