#pragma once
// A TLS connection to the platform that sends exactly the bytes a test gives it: framing
// the client never produces, heads sent in pieces, or a source address of its own
// (any 127.x.y.z reaches a server bound to 127.0.0.1).
#include <openssl/ssl.h>

#include <chrono>
#include <string>

namespace platformd::test {

class RawTlsConnection {
  public:
    explicit RawTlsConnection(int port, const std::string& source = "127.0.0.1");
    ~RawTlsConnection();
    RawTlsConnection(const RawTlsConnection&) = delete;
    RawTlsConnection& operator=(const RawTlsConnection&) = delete;

    bool Connected() const { return ssl_ != nullptr; }
    bool Send(const std::string& bytes);
    // True when the server has sent something (or closed) within `wait`.
    bool Readable(std::chrono::milliseconds wait);
    // Everything received until the server closes or `wait` passes without a byte.
    std::string ReadUntilClosed(std::chrono::milliseconds wait);
    // One reply: its head and a Content-Length body.
    std::string ReadReply(std::chrono::milliseconds wait);
    // Whether the last read ended because the server closed the connection.
    bool Closed() const { return closed_; }

  private:
    bool ReadSome(std::string& into, std::chrono::milliseconds wait);

    int sock_ = -1;
    SSL_CTX* ctx_ = nullptr;
    SSL* ssl_ = nullptr;
    bool closed_ = false;
};

// The status of the first reply in `bytes`, or 0.
int StatusOf(const std::string& bytes);
// How many replies `bytes` holds.
int ReplyCount(const std::string& bytes);

}  // namespace platformd::test
