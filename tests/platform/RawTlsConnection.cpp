#include "RawTlsConnection.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>

namespace platformd::test {

RawTlsConnection::RawTlsConnection(int port, const std::string& source) {
    sock_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in from{};
    from.sin_family = AF_INET;
    inet_pton(AF_INET, source.c_str(), &from.sin_addr);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<uint16_t>(port));
    inet_pton(AF_INET, "127.0.0.1", &to.sin_addr);
    if (sock_ < 0 || bind(sock_, reinterpret_cast<sockaddr*>(&from), sizeof from) != 0 ||
        connect(sock_, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
        return;
    }
    // Loopback tests of framing, not of trust: the certificate is not checked.
    ctx_ = SSL_CTX_new(TLS_client_method());
    SSL* ssl = SSL_new(ctx_);
    SSL_set_fd(ssl, sock_);
    if (SSL_connect(ssl) == 1) {
        ssl_ = ssl;
    } else {
        SSL_free(ssl);
    }
}

RawTlsConnection::~RawTlsConnection() {
    if (ssl_ != nullptr) SSL_free(ssl_);
    if (ctx_ != nullptr) SSL_CTX_free(ctx_);
    if (sock_ >= 0) close(sock_);
}

bool RawTlsConnection::Send(const std::string& bytes) {
    if (ssl_ == nullptr) return false;
    return bytes.empty() || SSL_write(ssl_, bytes.data(), static_cast<int>(bytes.size())) ==
                                static_cast<int>(bytes.size());
}

bool RawTlsConnection::Readable(std::chrono::milliseconds wait) {
    if (ssl_ == nullptr) return true;
    if (SSL_pending(ssl_) > 0) return true;
    pollfd p{sock_, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(wait.count())) <= 0) return false;
    // The socket also turns readable for TLS records that carry no data (session
    // tickets); peek without blocking to see whether a reply or the end has come.
    int flags = fcntl(sock_, F_GETFL);
    fcntl(sock_, F_SETFL, flags | O_NONBLOCK);
    char byte;
    int n = SSL_peek(ssl_, &byte, 1);
    bool waiting = n <= 0 && SSL_get_error(ssl_, n) == SSL_ERROR_WANT_READ;
    fcntl(sock_, F_SETFL, flags);
    return !waiting;
}

bool RawTlsConnection::ReadSome(std::string& into, std::chrono::milliseconds wait) {
    if (ssl_ == nullptr || closed_) return false;
    auto deadline = std::chrono::steady_clock::now() + wait;
    while (!Readable(std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now()))) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
    }
    char buf[16384];
    int n = SSL_read(ssl_, buf, sizeof buf);
    if (n <= 0) {
        closed_ = true;
        return false;
    }
    into.append(buf, static_cast<size_t>(n));
    return true;
}

std::string RawTlsConnection::ReadUntilClosed(std::chrono::milliseconds wait) {
    std::string bytes;
    while (ReadSome(bytes, wait)) {
    }
    return bytes;
}

std::string RawTlsConnection::ReadReply(std::chrono::milliseconds wait) {
    std::string bytes;
    for (;;) {
        size_t end = bytes.find("\r\n\r\n");
        if (end != std::string::npos) {
            size_t at = bytes.find("Content-Length: ");
            size_t length = at < end ? std::strtoul(bytes.c_str() + at + 16, nullptr, 10) : 0;
            if (bytes.size() >= end + 4 + length) return bytes;
        }
        if (!ReadSome(bytes, wait)) return bytes;
    }
}

int StatusOf(const std::string& bytes) {
    return bytes.rfind("HTTP/1.1 ", 0) == 0 ? std::atoi(bytes.c_str() + 9) : 0;
}

int ReplyCount(const std::string& bytes) {
    int count = 0;
    for (size_t at = bytes.find("HTTP/1.1 "); at != std::string::npos;
         at = bytes.find("HTTP/1.1 ", at + 1)) {
        ++count;
    }
    return count;
}

}  // namespace platformd::test
