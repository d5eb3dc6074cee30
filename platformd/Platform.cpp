#include "Platform.h"

#include <signal.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <vector>

#include "Accounts.h"
#include "Commands.h"
#include "ConnectionThreads.h"
#include "Database.h"
#include "Demo.h"
#include "Exchange.h"
#include "Finance.h"
#include "RecordingServer.h"
#include "Router.h"
#include "Servers.h"
#include "Services.h"
#include "SessionStore.h"
#include "Shop.h"
#include "StopSignal.h"
#include "TestControl.h"
#include "TlsMaterial.h"

namespace platformd {

namespace {

// A temporary directory removed with everything in it when the platform goes.
struct TempDir {
    std::string path;
    TempDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "platformd-tls-XXXXXX").string();
        std::vector<char> buf(pattern.begin(), pattern.end());
        buf.push_back('\0');
        if (mkdtemp(buf.data()) == nullptr) throw std::runtime_error("cannot create a temp dir");
        path = buf.data();
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
};

}  // namespace

struct Platform::Impl {
    explicit Impl(const PlatformOptions& o)
        : temp_tls(o.tls_dir.empty() ? std::make_unique<TempDir>() : nullptr),
          tls(o.tls_dir.empty() ? temp_tls->path : o.tls_dir),
          db(o.db),
          control(o.control_token),
          services{db, sessions, control, stop, o.update_file, {}, o.busy_seconds},
          accounts(services),
          servers(services),
          shop(services),
          finance(services),
          commands(services),
          server(tls.ServerCert(), tls.ServerKey()) {
        accounts.Register(router);
        servers.Register(router);
        shop.Register(router);
        finance.Register(router);
        commands.Register(router);
    }

    void Dispatch(const httplib::Request& req, httplib::Response& res) {
        if (TestControl::IsControlPath(req.path)) {
            control.Handle(req, res);
            return;
        }
        control.LogRequest(req, RecordingServer::CurrentRawRequest());
        if (int ms = control.LatencyMs(); ms > 0) {
            stop.Sleep(std::chrono::milliseconds(ms));
        }
        if (auto scripted = control.TakeScript(req.path, req.target)) {
            if (scripted->delay_ms > 0) {
                stop.Sleep(std::chrono::milliseconds(scripted->delay_ms));
            }
            res.status = scripted->status;
            if (scripted->stall_after) {
                StallMidReply(res, std::move(*scripted));
                return;
            }
            res.set_content(scripted->body, scripted->content_type);
            return;
        }
        const Router::Handler* handler = router.Find(req.method, req.path);
        Exchange ex(req, res, sessions);
        if (handler == nullptr) {
            ex.Html("<html><body><h1>404 页面不存在</h1></body></html>");
            res.status = 404;
            return;
        }
        try {
            (*handler)(ex);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "[error] %s %s: %s\n", req.method.c_str(), req.path.c_str(),
                         e.what());
            ex.Html("<html><body><h1>500 服务器内部错误</h1></body></html>");
            res.status = 500;
        }
    }

    // Sends the head and the first `stall_after` body bytes, then holds the connection
    // without a byte more until the platform stops.
    void StallMidReply(httplib::Response& res, TestControl::ScriptedReply scripted) {
        auto body = std::make_shared<std::string>(std::move(scripted.body));
        const size_t sent = std::min(static_cast<size_t>(*scripted.stall_after), body->size());
        res.set_content_provider(
            body->size(), scripted.content_type,
            [this, body, sent](size_t offset, size_t, httplib::DataSink& sink) {
                if (offset < sent) return sink.write(body->data() + offset, sent - offset);
                while (stop.Sleep(std::chrono::hours(1))) {
                }
                return false;
            });
    }

    std::unique_ptr<TempDir> temp_tls;
    TlsMaterial tls;
    Database db;
    SessionStore sessions;
    TestControl control;
    StopSignal stop;
    Services services;
    Accounts accounts;
    Servers servers;
    Shop shop;
    Finance finance;
    Commands commands;
    Router router;
    RecordingServer server;
};

Platform::Platform(PlatformOptions options) : options_(std::move(options)) {
    // A client that hangs up mid-reply must not end the server.
    signal(SIGPIPE, SIG_IGN);
    impl_ = std::make_unique<Impl>(options_);
    if (options_.demo) {
        auto lock = impl_->db.Lock();
        if (impl_->db.IsEmpty()) {
            demo_summary_ = Demo::Seed(impl_->db);
            demo_summary_ += Demo::SeedCustomers(impl_->db, options_.customers);
        } else {
            demo_summary_ = "the database already holds data; demo data not seeded again\n";
        }
    }
    if (!options_.rdp_address.empty()) {
        auto lock = impl_->db.Lock();
        demo_summary_ +=
            Demo::PointRunningServersAt(impl_->db, options_.rdp_address, options_.rdp_password);
    }
}

Platform::~Platform() {
    Stop();
}

const std::string& Platform::CaPath() const {
    return impl_->tls.CaPath();
}

int Platform::Start() {
    RecordingServer& server = impl_->server;
    if (!server.is_valid()) throw std::runtime_error("TLS server set-up failed");
    int threads = options_.threads;
    server.new_task_queue = [threads] {
        return new ConnectionThreads(static_cast<size_t>(threads));
    };
    server.SetHeadTimeout(std::chrono::milliseconds(options_.head_timeout_ms));
    server.set_tcp_nodelay(true);
    server.set_keep_alive_max_count(100000);
    server.set_keep_alive_timeout(15);
    server.set_payload_max_length(8 * 1024 * 1024);
    auto dispatch = [this](const httplib::Request& req, httplib::Response& res) {
        impl_->Dispatch(req, res);
    };
    for (const char* pattern : {".*"}) {
        server.Get(pattern, dispatch);
        server.Post(pattern, dispatch);
        server.Put(pattern, dispatch);
        server.Delete(pattern, dispatch);
    }
    if (options_.port == 0) {
        port_ = server.bind_to_any_port(options_.bind);
    } else {
        port_ = server.bind_to_port(options_.bind, options_.port) ? options_.port : -1;
    }
    if (port_ <= 0) throw std::runtime_error("cannot bind " + options_.bind);
    std::string host =
        options_.bind == "0.0.0.0" || options_.bind == "::" ? "127.0.0.1" : options_.bind;
    impl_->services.public_base = "https://" + host + ":" + std::to_string(port_);
    thread_ = std::thread([&server] { server.listen_after_bind(); });
    // Stop() only reaches a server that is already running.
    while (!server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return port_;
}

void Platform::Stop() {
    if (thread_.joinable()) {
        // Handlers waiting out a delay return at once, so their connections can close.
        impl_->stop.Raise();
        impl_->server.Stop();
        thread_.join();
    }
}

}  // namespace platformd
