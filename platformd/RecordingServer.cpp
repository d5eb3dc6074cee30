#include "RecordingServer.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace platformd {

namespace {

constexpr int kPollSliceMs = 200;

int PollOnce(int sock, short events, int timeout_ms) {
    pollfd p{sock, events, 0};
    int rc;
    do {
        rc = poll(&p, 1, timeout_ms);
    } while (rc < 0 && errno == EINTR);
    return rc;
}

class RecordingStream : public httplib::Stream {
  public:
    RecordingStream(int sock, SSL* ssl, int read_timeout_ms, int write_timeout_ms)
        : sock_(sock), ssl_(ssl), read_ms_(read_timeout_ms), write_ms_(write_timeout_ms) {}

    bool is_readable() const override {
        return SSL_pending(ssl_) > 0 || PollOnce(sock_, POLLIN, read_ms_) > 0;
    }
    bool is_writable() const override { return PollOnce(sock_, POLLOUT, write_ms_) > 0; }

    ssize_t read(char* ptr, size_t size) override {
        if (size == 0) return 0;
        for (;;) {
            if (SSL_pending(ssl_) == 0 && PollOnce(sock_, POLLIN, read_ms_) <= 0) return -1;
            int n = SSL_read(ssl_, ptr, static_cast<int>(size));
            if (n > 0) {
                raw_.append(ptr, static_cast<size_t>(n));
                return n;
            }
            int err = SSL_get_error(ssl_, n);
            if (err != SSL_ERROR_WANT_READ && err != SSL_ERROR_WANT_WRITE) {
                failed_ = true;
                return n == 0 ? 0 : -1;
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

    // Waits for the next request, waking regularly so a stopping server is noticed.
    template <typename StillListening>
    bool WaitForRequest(int timeout_ms, StillListening still_listening) const {
        if (SSL_pending(ssl_) > 0) return true;
        for (int waited = 0; waited < timeout_ms && still_listening(); waited += kPollSliceMs) {
            int rc = PollOnce(sock_, POLLIN, kPollSliceMs);
            if (rc != 0) return rc > 0;
        }
        return false;
    }

    std::string& Raw() { return raw_; }
    bool Failed() const { return failed_; }

  private:
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
    std::string raw_;
    bool failed_ = false;
};

thread_local RecordingStream* current_stream = nullptr;

}  // namespace

const std::string& RecordingServer::CurrentRawRequest() {
    static const std::string none;
    return current_stream ? current_stream->Raw() : none;
}

bool RecordingServer::process_and_close_socket(socket_t sock) {
    int one = 1;
    setsockopt(sock, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    SSL* ssl = SSL_new(ssl_context());
    bool clean = false;
    if (ssl != nullptr && SSL_set_fd(ssl, sock) == 1 &&
        PollOnce(sock, POLLIN, static_cast<int>(read_timeout_sec_ * 1000)) > 0 &&
        SSL_accept(ssl) == 1) {
        RecordingStream strm(
            sock, ssl, static_cast<int>(read_timeout_sec_ * 1000 + read_timeout_usec_ / 1000),
            static_cast<int>(write_timeout_sec_ * 1000 + write_timeout_usec_ / 1000));
        current_stream = &strm;
        size_t left = keep_alive_max_count_;
        int idle_ms = static_cast<int>(keep_alive_timeout_sec_ * 1000);
        // stop() closes the listening socket at once but reports "not running" only after
        // every connection has ended, so the socket is what tells a connection to finish.
        auto still_listening = [this] { return svr_sock_ != INVALID_SOCKET; };
        while (left > 0 && still_listening() && strm.WaitForRequest(idle_ms, still_listening)) {
            strm.Raw().clear();
            bool closed = false;
            bool last = left == 1;
            if (!process_request(strm, last, closed,
                                 [ssl](httplib::Request& req) { req.ssl = ssl; })) {
                break;
            }
            if (closed || last) break;
            --left;
        }
        current_stream = nullptr;
        clean = !strm.Failed();
        if (clean) SSL_shutdown(ssl);
    }
    SSL_free(ssl);
    ERR_clear_error();
    shutdown(sock, SHUT_RDWR);
    close(sock);
    return true;
}

}  // namespace platformd
