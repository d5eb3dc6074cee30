#pragma once
// The reference platform: TLS server, store, sessions and every endpoint, in one object
// that the executable and the tests both run.
#include <memory>
#include <string>
#include <thread>

namespace platformd {

struct PlatformOptions {
    int port = 0;  // 0: any free port
    std::string bind = "127.0.0.1";
    std::string db;       // empty: a fresh temporary database
    bool demo = false;    // seed the demo data into an empty database
    int customers = 0;    // with `demo`: this many more seeded customers
    std::string tls_dir;  // empty: a fresh temporary directory
    std::string control_token;
    std::string update_file;
    // Connections served at once, each on a thread of its own started when needed;
    // beyond this they wait for a free one.
    int threads = 512;
    // How long the TLS handshake, and then each request line with its headers, may take.
    int head_timeout_ms = 10000;
    int busy_seconds = 8;  // how long a restart or reinstall shows its working status
    // When set, every running server gets this remote-desktop address ("127.0.0.1:P") and,
    // when given, this administrator password: a real RDP server for the demo and tests.
    std::string rdp_address;
    std::string rdp_password;
};

class Platform {
  public:
    explicit Platform(PlatformOptions options);
    ~Platform();
    Platform(const Platform&) = delete;
    Platform& operator=(const Platform&) = delete;

    // Binds and starts serving on a thread of its own; returns the bound port.
    int Start();
    void Stop();
    int Port() const { return port_; }
    const std::string& CaPath() const;
    // What --demo seeded (accounts, passwords, cards), for printing; empty otherwise.
    const std::string& DemoSummary() const { return demo_summary_; }

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    PlatformOptions options_;
    std::thread thread_;
    int port_ = 0;
    std::string demo_summary_;
};

}  // namespace platformd
