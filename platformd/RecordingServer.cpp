#include "RecordingServer.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "RequestFraming.h"

namespace platformd {

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPollSliceMs = 200;
// The request line and headers together; httplib itself bounds only each line.
constexpr size_t kHeadLimit = 64 * 1024;
// Room for the chunk-size lines of a chunked body on top of the payload limit.
constexpr size_t kChunkFramingRoom = 64 * 1024;
// What a refused connection may still send before it is closed.
constexpr int kDrainMs = 1000;
constexpr size_t kDrainLimit = 4 * 1024 * 1024;

int PollOnce(int sock, short events, int timeout_ms) {
    pollfd p{sock, events, 0};
    int rc;
    do {
        rc = poll(&p, 1, timeout_ms);
    } while (rc < 0 && errno == EINTR);
    return rc;
}

// Polls until ready, `deadline`, or the server stops listening. A stop makes `wake_fd`
// readable, so a waiting connection ends at once without waking before then; only without
// that descriptor does it look in short slices.
template <typename StillListening>
bool PollUntil(int sock, short events, Clock::time_point deadline, int wake_fd,
               StillListening listening) {
    const long long slice = wake_fd >= 0 ? std::numeric_limits<int>::max() : kPollSliceMs;
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0 || !listening()) return false;
        pollfd fds[2] = {{sock, events, 0}, {wake_fd, POLLIN, 0}};
        int rc = poll(fds, 2, static_cast<int>(std::min<long long>(left.count(), slice)));
        if (rc < 0 && errno == EINTR) continue;
        if (rc < 0 || fds[1].revents != 0) return false;
        if (rc > 0) return true;
    }
}

class RecordingStream : public httplib::Stream {
  public:
    RecordingStream(int sock, SSL* ssl, int read_timeout_ms, int write_timeout_ms,
                    const std::atomic<socket_t>& listen_sock, int wake_fd)
        : sock_(sock),
          ssl_(ssl),
          read_ms_(read_timeout_ms),
          write_ms_(write_timeout_ms),
          listen_sock_(listen_sock),
          wake_fd_(wake_fd) {}

    bool is_readable() const override {
        return SSL_pending(ssl_) > 0 || PollOnce(sock_, POLLIN, read_ms_) > 0;
    }
    bool is_writable() const override { return PollOnce(sock_, POLLOUT, write_ms_) > 0; }

    ssize_t read(char* ptr, size_t size) override {
        if (size == 0) return 0;
        if (!in_head_) {
            if (body_left_ == 0) {
                // A chunked body ran past the limit; one with neither length nor chunks
                // is empty, so nothing after its head is read as its body.
                if (!chunked_) return 0;
                over_limit_ = true;
                return Fail();
            }
            size = std::min(size, body_left_);
        }
        for (;;) {
            if (SSL_pending(ssl_) == 0) {
                auto deadline = Clock::now() + std::chrono::milliseconds(read_ms_);
                bool head_bound = in_head_ && head_deadline_ <= deadline;
                if (head_bound) deadline = head_deadline_;
                if (!PollUntil(sock_, POLLIN, deadline, wake_fd_,
                               [this] { return StillListening(); })) {
                    head_timed_out_ = head_bound && StillListening();
                    return Fail();
                }
            }
            int n = SSL_read(ssl_, ptr, static_cast<int>(size));
            if (n > 0) {
                raw_.append(ptr, static_cast<size_t>(n));
                size_t got = static_cast<size_t>(n);
                if (in_head_ && raw_.size() > kHeadLimit) {
                    head_too_long_ = true;
                    return Fail();
                }
                if (!in_head_) body_left_ -= got;
                return n;
            }
            int err = SSL_get_error(ssl_, n);
            if (err != SSL_ERROR_WANT_READ && err != SSL_ERROR_WANT_WRITE) {
                failed_ = true;
                if (n == 0 && in_head_) return 0;
                return Fail();
            }
        }
    }

    ssize_t write(const char* ptr, size_t size) override {
        if (size == 0) return 0;
        for (;;) {
            if (!is_writable()) return -1;
            int n = SSL_write(ssl_, ptr, static_cast<int>(size));
            if (n > 0) return n;
            int err = SSL_get_error(ssl_, n);
            if (err != SSL_ERROR_WANT_READ && err != SSL_ERROR_WANT_WRITE) {
                failed_ = true;
                return -1;
            }
        }
    }

    void get_remote_ip_and_port(std::string& ip, int& port) const override {
        Address(getpeername, ip, port);
    }
    void get_local_ip_and_port(std::string& ip, int& port) const override {
        Address(getsockname, ip, port);
    }
    socket_t socket() const override { return sock_; }

    // stop() closes the listening socket at once but reports "not running" only after
    // every connection has ended, so the socket is what tells a connection to finish.
    bool StillListening() const { return listen_sock_ != INVALID_SOCKET; }

    // Waits for the next request, waking regularly so a stopping server is noticed.
    bool WaitForRequest(int timeout_ms) const {
        if (SSL_pending(ssl_) > 0) return true;
        return PollUntil(sock_, POLLIN, Clock::now() + std::chrono::milliseconds(timeout_ms),
                         wake_fd_, [this] { return StillListening(); });
    }

    // A new request: its head has until `head_deadline` to arrive.
    void StartRequest(Clock::time_point head_deadline) {
        raw_.clear();
        head_deadline_ = head_deadline;
        in_head_ = true;
        head_too_long_ = head_timed_out_ = body_failed_ = over_limit_ = close_ = false;
        body_left_ = 0;
    }
    // The head is in; at most `limit` body bytes may follow.
    void StartBody(size_t limit, bool chunked) {
        in_head_ = false;
        chunked_ = chunked;
        body_left_ = limit;
    }
    // The body ran past its limit (only a chunked body can: a length is checked first).
    bool BodyOverLimit() const { return over_limit_; }
    bool HeadTooLong() const { return head_too_long_; }
    bool HeadTimedOut() const { return head_timed_out_; }
    // httplib could not read the head or the body whole, so the connection's framing is lost.
    bool FramingLost() const { return in_head_ || body_failed_; }
    void CloseAfterReply() { close_ = true; }
    bool ClosesAfterReply() const { return close_; }

    std::string& Raw() { return raw_; }
    bool Failed() const { return failed_; }

  private:
    ssize_t Fail() {
        if (!in_head_) body_failed_ = true;
        return -1;
    }

    template <typename Fn>
    void Address(Fn fn, std::string& ip, int& port) const {
        sockaddr_storage addr{};
        socklen_t len = sizeof addr;
        if (fn(sock_, reinterpret_cast<sockaddr*>(&addr), &len) != 0) return;
        char host[NI_MAXHOST] = {0};
        char serv[NI_MAXSERV] = {0};
        if (getnameinfo(reinterpret_cast<sockaddr*>(&addr), len, host, sizeof host, serv,
                        sizeof serv, NI_NUMERICHOST | NI_NUMERICSERV) == 0) {
            ip = host;
            port = std::atoi(serv);
        }
    }

    int sock_;
    SSL* ssl_;
    int read_ms_;
    int write_ms_;
    const std::atomic<socket_t>& listen_sock_;
    int wake_fd_;
    std::string raw_;
    bool failed_ = false;
    Clock::time_point head_deadline_;
    bool in_head_ = true;
    bool head_too_long_ = false;
    bool head_timed_out_ = false;
    bool body_failed_ = false;
    bool chunked_ = false;
    bool over_limit_ = false;
    bool close_ = false;
    size_t body_left_ = 0;
};

thread_local RecordingStream* current_stream = nullptr;

// The handshake on a non-blocking socket, bounded by `deadline`.
template <typename StillListening>
bool Handshake(SSL* ssl, int sock, Clock::time_point deadline, int wake_fd,
               StillListening listening) {
    for (;;) {
        int rc = SSL_accept(ssl);
        if (rc == 1) return true;
        int err = SSL_get_error(ssl, rc);
        short events = err == SSL_ERROR_WANT_READ    ? POLLIN
                       : err == SSL_ERROR_WANT_WRITE ? POLLOUT
                                                     : 0;
        if (events == 0 || !PollUntil(sock, events, deadline, wake_fd, listening)) return false;
    }
}

// Reads and drops what the client still sends, up to a bound in bytes and time.
template <typename StillListening>
void Drain(int sock, int wake_fd, StillListening listening) {
    shutdown(sock, SHUT_WR);
    auto deadline = Clock::now() + std::chrono::milliseconds(kDrainMs);
    char buf[16384];
    for (size_t drained = 0;
         drained < kDrainLimit && PollUntil(sock, POLLIN, deadline, wake_fd, listening);) {
        ssize_t n = recv(sock, buf, sizeof buf, 0);
        if (n <= 0 && !(n < 0 && (errno == EAGAIN || errno == EINTR))) return;
        if (n > 0) drained += static_cast<size_t>(n);
    }
}

}  // namespace

RecordingServer::RecordingServer(X509* cert, EVP_PKEY* key)
    : httplib::SSLServer(cert, key), wake_fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
        return BeforeBody(req, res);
    });
    set_error_handler(HandlerWithResponse(
        [this](const httplib::Request&, httplib::Response& res) { return OnError(res); }));
}

RecordingServer::~RecordingServer() {
    if (wake_fd_ >= 0) close(wake_fd_);
}

void RecordingServer::Stop() {
    // The listening socket goes first, so a connection that wakes sees the server stopped.
    stop();
    const std::uint64_t one = 1;
    if (wake_fd_ >= 0 && write(wake_fd_, &one, sizeof one) < 0) {
        // Only a full counter fails, and it is readable then anyway.
    }
}

const std::string& RecordingServer::CurrentRawRequest() {
    static const std::string none;
    return current_stream ? current_stream->Raw() : none;
}

httplib::Server::HandlerResponse RecordingServer::BeforeBody(const httplib::Request& req,
                                                             httplib::Response& res) {
    RecordingStream* strm = current_stream;
    int refusal = RequestFraming::Check(req.method, req.headers, payload_max_length_);
    if (refusal != 0 || strm == nullptr) {
        res.status = refusal != 0 ? refusal : 500;
        if (strm != nullptr) strm->CloseAfterReply();
        return HandlerResponse::Handled;
    }
    if (req.has_header("Content-Length")) {
        strm->StartBody(
            httplib::detail::get_header_value<std::uint64_t>(req.headers, "Content-Length", 0, 0),
            false);
    } else {
        bool chunked = req.has_header("Transfer-Encoding");
        strm->StartBody(chunked ? payload_max_length_ + kChunkFramingRoom : 0, chunked);
    }
    return HandlerResponse::Unhandled;
}

httplib::Server::HandlerResponse RecordingServer::OnError(httplib::Response& res) {
    RecordingStream* strm = current_stream;
    if (strm == nullptr || !strm->FramingLost()) return HandlerResponse::Unhandled;
    if (strm->BodyOverLimit()) res.status = 413;
    if (strm->HeadTooLong()) res.status = 431;
    if (strm->HeadTimedOut()) res.status = 408;
    strm->CloseAfterReply();
    res.set_header("Connection", "close");
    return HandlerResponse::Unhandled;
}

bool RecordingServer::process_and_close_socket(socket_t sock) {
    int one = 1;
    setsockopt(sock, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    // Non-blocking, so that no read or handshake waits past the deadlines polled for.
    fcntl(sock, F_SETFL, fcntl(sock, F_GETFL) | O_NONBLOCK);
    SSL* ssl = SSL_new(ssl_context());
    bool clean = false;
    auto listening = [this] { return svr_sock_ != INVALID_SOCKET; };
    if (ssl != nullptr && SSL_set_fd(ssl, sock) == 1 &&
        Handshake(ssl, sock, Clock::now() + head_timeout_, wake_fd_, listening)) {
        RecordingStream strm(
            sock, ssl, static_cast<int>(read_timeout_sec_ * 1000 + read_timeout_usec_ / 1000),
            static_cast<int>(write_timeout_sec_ * 1000 + write_timeout_usec_ / 1000), svr_sock_,
            wake_fd_);
        current_stream = &strm;
        size_t left = keep_alive_max_count_;
        int idle_ms = static_cast<int>(keep_alive_timeout_sec_ * 1000);
        while (left > 0 && strm.StillListening() && strm.WaitForRequest(idle_ms)) {
            strm.StartRequest(Clock::now() + head_timeout_);
            bool closed = false;
            bool last = left == 1;
            if (!process_request(strm, last, closed,
                                 [ssl](httplib::Request& req) { req.ssl = ssl; })) {
                break;
            }
            if (closed || last || strm.ClosesAfterReply()) break;
            --left;
        }
        current_stream = nullptr;
        clean = !strm.Failed();
        if (clean) SSL_shutdown(ssl);
        // Closing with unread bytes resets the connection, and a reset can destroy the
        // refusal before the client reads it; so take in what is still arriving, briefly.
        if (strm.ClosesAfterReply()) Drain(sock, wake_fd_, listening);
    }
    SSL_free(ssl);
    ERR_clear_error();
    shutdown(sock, SHUT_RDWR);
    close(sock);
    return true;
}

}  // namespace platformd
