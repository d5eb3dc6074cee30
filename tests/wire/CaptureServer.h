#pragma once
// A raw HTTP/1.1 server on 127.0.0.1 that records the exact bytes of every request and
// answers each connection with the next canned reply.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace wiretest {

// "HTTP/1.1 <status>\r\n" + header lines + Content-Length + "Connection: close" + body.
std::string CannedReply(std::string_view status, std::string_view header_lines,
                        std::string_view body);

class CaptureServer {
  public:
    // Connection n gets replies[min(n, size-1)]. With `hold_open` the server keeps each
    // connection open after replying until the client closes it. With `socks4` it first
    // grants a SOCKS4 connect request (kept in Socks4Requests()) and then serves HTTP.
    explicit CaptureServer(std::vector<std::string> replies, bool hold_open = false,
                           bool socks4 = false);
    explicit CaptureServer(std::string reply = CannedReply("200 OK", "", "ok"))
        : CaptureServer(std::vector<std::string>{std::move(reply)}) {}
    ~CaptureServer();
    CaptureServer(const CaptureServer&) = delete;
    CaptureServer& operator=(const CaptureServer&) = delete;

    // Each reply's body then goes out one byte at a time, `gap` apart (the header block at
    // once): a slow transfer that still moves.
    void SetBodyByteGap(std::chrono::milliseconds gap) { body_gap_ms_ = gap.count(); }

    int Port() const { return port_; }
    std::string Url(std::string_view path = "/") const;

    std::vector<std::string> Requests() const;
    std::vector<std::string> Socks4Requests() const;
    std::string LastRequest() const;
    size_t Connections() const;
    // Blocks until `n` requests have been read completely.
    void WaitForRequests(size_t n) const;

  private:
    void Run();
    void Serve(int fd, size_t index);

    std::vector<std::string> replies_;
    bool hold_open_;
    bool socks4_;
    std::atomic<long long> body_gap_ms_{0};
    int listener_ = -1;
    int port_ = 0;
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<std::string> requests_;
    std::vector<std::string> socks4_requests_;
    size_t connections_ = 0;
    std::thread thread_;
};

// A loopback port that never answers: bound but not listening, so connecting is refused
// (`listening` false), or listening but never accepting, so the connection is made by the
// kernel and then nothing comes (`listening` true). Either way no one else takes the port.
class IdlePort {
  public:
    explicit IdlePort(bool listening);
    ~IdlePort();
    IdlePort(const IdlePort&) = delete;
    IdlePort& operator=(const IdlePort&) = delete;
    int Port() const { return port_; }
    std::string Url(std::string_view scheme = "http") const;

  private:
    int fd_ = -1;
    int port_ = 0;
};

// The request line and header lines of a captured request, without the final empty line.
std::vector<std::string> HeaderLines(const std::string& request);
// The bytes after the header section.
std::string RequestBody(const std::string& request);

}  // namespace wiretest
