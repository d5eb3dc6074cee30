#pragma once
// An httplib HTTPS server on 127.0.0.1 with the test certificate, running while in scope.
#include <httplib.h>

#include <string>
#include <string_view>
#include <thread>

#include "TestCertificates.h"

namespace wiretest {

class TlsTestServer {
  public:
    TlsTestServer() : server_(Certificates().server_cert, Certificates().server_key) {
        server_.set_tcp_nodelay(true);
    }
    ~TlsTestServer() {
        if (!thread_.joinable()) return;
        // stop() only takes effect once the accept loop is running.
        while (!server_.is_running()) std::this_thread::yield();
        server_.stop();
        thread_.join();
    }
    TlsTestServer(const TlsTestServer&) = delete;
    TlsTestServer& operator=(const TlsTestServer&) = delete;

    httplib::SSLServer& Server() { return server_; }

    // Routes must be set before.
    void Start() {
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
    }

    std::string Url(std::string_view path, std::string_view host = "127.0.0.1") const {
        return "https://" + std::string(host) + ":" + std::to_string(port_) + std::string(path);
    }

  private:
    httplib::SSLServer server_;
    int port_ = 0;
    std::thread thread_;
};

}  // namespace wiretest
