// WebRequest over TLS against an httplib server: certificate checks, the process-wide
// cookie store across threads, and redirects.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "TestCertificates.h"
#include "TlsTestServer.h"
#include "net/WebRequest.h"

using namespace vpsdesk::net;

namespace {

class WebRequestTls : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        server_ = new wiretest::TlsTestServer();
        httplib::SSLServer& s = server_->Server();
        s.Get("/hello", [](const httplib::Request&, httplib::Response& res) {
            res.set_content("ok", "text/plain");
        });
        s.Get(R"(/set/(\w+))", [](const httplib::Request& req, httplib::Response& res) {
            res.set_header("Set-Cookie", req.matches[1].str() + "=v; Path=/");
            res.set_content("set", "text/plain");
        });
        s.Get("/cookies", [](const httplib::Request& req, httplib::Response& res) {
            res.set_content(req.get_header_value("Cookie"), "text/plain");
        });
        s.Post("/moved", [](const httplib::Request&, httplib::Response& res) {
            res.status = 302;
            res.set_header("Location", "/landed");
            res.set_content("moved", "text/plain");
        });
        auto landed = [](const httplib::Request& req, httplib::Response& res) {
            res.set_content(req.method + " " + req.body, "text/plain");
        };
        s.Get("/landed", landed);
        s.Post("/landed", landed);
        server_->Start();
    }
    static void TearDownTestSuite() {
        delete server_;
        server_ = nullptr;
    }
    void SetUp() override { SetTlsSettings({wiretest::Certificates().ca_file, true}); }

    static std::string Url(std::string_view path, std::string_view host = "127.0.0.1") {
        return server_->Url(path, host);
    }

    static wiretest::TlsTestServer* server_;
};

wiretest::TlsTestServer* WebRequestTls::server_ = nullptr;

std::string Text(const WebReply& reply) {
    return BytesToString(reply.body);
}

TEST_F(WebRequestTls, CertificateIsVerifiedAgainstTheConfiguredCa) {
    SetTlsSettings({});  // system store only: the test CA is unknown
    WebReply refused = WebRequest(Url("/hello"));
    EXPECT_EQ(refused.error, WebError::Tls);
    EXPECT_TRUE(refused.body.empty());
    EXPECT_EQ(refused.headers, "");

    SetTlsSettings({wiretest::Certificates().ca_file, true});
    WebReply reply = WebRequest(Url("/hello"));
    EXPECT_EQ(Text(reply), "ok");
    EXPECT_EQ(reply.headers.rfind("HTTP/1.1 200", 0), 0u);
    EXPECT_EQ(Text(WebRequest(Url("/hello", "localhost"))), "ok");

    SetTlsSettings({"", false});
    EXPECT_EQ(Text(WebRequest(Url("/hello"))), "ok");
}

TEST_F(WebRequestTls, CookieSetOnOneThreadIsSentFromAnother) {
    std::string set;
    std::thread([&] { set = Text(WebRequest(Url("/set/xthread"))); }).join();
    std::string seen;
    std::thread([&] { seen = Text(WebRequest(Url("/cookies"))); }).join();
    EXPECT_EQ(set, "set");
    EXPECT_NE(seen.find("xthread=v"), std::string::npos) << seen;

    // Cookies belong to their host: localhost has not been given one.
    EXPECT_EQ(Text(WebRequest(Url("/cookies", "localhost"))).find("xthread"), std::string::npos);
}

TEST_F(WebRequestTls, PostRedirectedBy302IsFollowedAsGet) {
    WebRequestOptions o;
    o.verb = HttpVerb::Post;
    o.body = "a=1";
    WebReply reply = WebRequest(Url("/moved"), o);
    EXPECT_EQ(Text(reply), "GET ");
    EXPECT_EQ(reply.status, 200);

    o.no_redirect = true;
    reply = WebRequest(Url("/moved"), o);
    EXPECT_EQ(Text(reply), "moved");
    EXPECT_EQ(reply.status, 302);
    EXPECT_NE(reply.headers.find("Location: /landed\r\n"), std::string::npos);
}

TEST_F(WebRequestTls, ConcurrentRequestsShareTheCookieStore) {
    WebRequest(Url("/set/concurrent"));
    std::vector<std::thread> threads;
    std::vector<int> good(4, 0);
    for (size_t t = 0; t < good.size(); ++t) {
        threads.emplace_back([&good, t] {
            for (int i = 0; i < 10; ++i) {
                std::string name = "c" + std::to_string(t) + "x" + std::to_string(i);
                bool set = Text(WebRequest(Url("/set/" + name))) == "set";
                std::string seen = Text(WebRequest(Url("/cookies")));
                if (set && seen.find("concurrent=v") != std::string::npos &&
                    seen.find(name + "=v") != std::string::npos)
                    ++good[t];
            }
        });
    }
    for (std::thread& t : threads) t.join();
    EXPECT_EQ(good, std::vector<int>(4, 10));
}

}  // namespace
