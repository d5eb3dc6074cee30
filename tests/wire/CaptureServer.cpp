#include "CaptureServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace wiretest {
namespace {

bool SendAll(int fd, std::string_view data) {
    while (!data.empty()) {
        ssize_t n = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
        if (n <= 0) return false;
        data.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

size_t ContentLength(std::string_view head) {
    size_t pos = 0;
    while (pos < head.size()) {
        size_t end = head.find("\r\n", pos);
        if (end == std::string_view::npos) end = head.size();
        std::string_view line = head.substr(pos, end - pos);
        constexpr std::string_view kName = "content-length:";
        if (line.size() > kName.size()) {
            std::string lowered(line.substr(0, kName.size()));
            for (char& c : lowered)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (lowered == kName) return std::stoul(std::string(line.substr(kName.size())));
        }
        pos = end + 2;
    }
    return 0;
}

}  // namespace

std::string CannedReply(std::string_view status, std::string_view header_lines,
                        std::string_view body) {
    std::string out = "HTTP/1.1 " + std::string(status) + "\r\n" + std::string(header_lines);
    out += "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n";
    out += body;
    return out;
}

namespace {

// A socket bound to a free loopback port, listening with `backlog` unless it is 0; the
// port goes to `port`.
int BindLoopback(int backlog, int& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        (backlog > 0 && ::listen(fd, backlog) != 0) ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
        throw std::runtime_error("loopback socket: cannot bind or listen");
    port = ntohs(addr.sin_port);
    return fd;
}

}  // namespace

CaptureServer::CaptureServer(std::vector<std::string> replies, bool hold_open, bool socks4)
    : replies_(std::move(replies)), hold_open_(hold_open), socks4_(socks4) {
    listener_ = BindLoopback(16, port_);
    thread_ = std::thread([this] { Run(); });
}

CaptureServer::~CaptureServer() {
    ::shutdown(listener_, SHUT_RDWR);  // wakes accept()
    thread_.join();
    ::close(listener_);
}

std::string CaptureServer::Url(std::string_view path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

std::vector<std::string> CaptureServer::Requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

std::vector<std::string> CaptureServer::Socks4Requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return socks4_requests_;
}

std::string CaptureServer::LastRequest() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_.empty() ? std::string() : requests_.back();
}

size_t CaptureServer::Connections() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return connections_;
}

void CaptureServer::WaitForRequests(size_t n) const {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return requests_.size() >= n; });
}

void CaptureServer::Run() {
    for (;;) {
        int fd = ::accept(listener_, nullptr, nullptr);
        if (fd < 0) return;
        size_t index;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            index = connections_++;
        }
        Serve(fd, index);
        ::close(fd);
    }
}

void CaptureServer::Serve(int fd, size_t index) {
    std::string request;
    char buf[65536];
    if (socks4_) {
        // Version, command, port, address, then a user id ending in a zero byte.
        std::string connect;
        char c;
        while (connect.size() < 8 || connect.back() != '\0') {
            if (::recv(fd, &c, 1, 0) != 1) return;
            connect.push_back(c);
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            socks4_requests_.push_back(connect);
        }
        if (!SendAll(fd, std::string_view("\0\x5A\0\0\0\0\0\0", 8))) return;
    }
    size_t head_end = std::string::npos;
    size_t wanted = 0;
    for (;;) {
        if (head_end == std::string::npos) {
            head_end = request.find("\r\n\r\n");
            if (head_end != std::string::npos)
                wanted = head_end + 4 + ContentLength(request.substr(0, head_end));
        }
        if (head_end != std::string::npos && request.size() >= wanted) break;
        ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        if (n <= 0) return;  // the client gave up before a whole request
        request.append(buf, static_cast<size_t>(n));
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(request);
    }
    changed_.notify_all();
    if (replies_.empty()) {
        while (::recv(fd, buf, sizeof buf, 0) > 0) {
        }
        return;
    }
    const std::string& reply = replies_[std::min(index, replies_.size() - 1)];
    if (const long long gap = body_gap_ms_.load(); gap > 0) {
        const size_t body = reply.find("\r\n\r\n") + 4;
        if (!SendAll(fd, std::string_view(reply).substr(0, body))) return;
        for (size_t i = body; i < reply.size(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(gap));
            if (!SendAll(fd, std::string_view(reply).substr(i, 1))) return;
        }
    } else if (!SendAll(fd, reply)) {
        return;
    }
    if (hold_open_)
        while (::recv(fd, buf, sizeof buf, 0) > 0) {
        }
}

IdlePort::IdlePort(bool listening) {
    fd_ = BindLoopback(listening ? 4 : 0, port_);
}

IdlePort::~IdlePort() {
    ::close(fd_);
}

std::string IdlePort::Url(std::string_view scheme) const {
    return std::string(scheme) + "://127.0.0.1:" + std::to_string(port_) + "/";
}

std::vector<std::string> HeaderLines(const std::string& request) {
    std::vector<std::string> lines;
    size_t end = request.find("\r\n\r\n");
    if (end == std::string::npos) return lines;
    size_t pos = 0;
    while (pos < end) {
        size_t next = request.find("\r\n", pos);
        lines.push_back(request.substr(pos, next - pos));
        pos = next + 2;
    }
    return lines;
}

std::string RequestBody(const std::string& request) {
    size_t end = request.find("\r\n\r\n");
    return end == std::string::npos ? std::string() : request.substr(end + 4);
}

}  // namespace wiretest
