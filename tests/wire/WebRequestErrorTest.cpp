// What a request brings back when the network fails in each way it can, against a
// platform that answers, refusals included: the kind of failure, and which of status,
// headers and cookies a caller may still rely on.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>

#include "CaptureServer.h"
#include "TestCertificates.h"
#include "TlsTestServer.h"
#include "net/WebRequest.h"

using namespace vpsdesk::net;
using namespace std::chrono_literals;
using wiretest::CannedReply;
using wiretest::CaptureServer;

namespace {

class WebRequestErrors : public testing::Test {
  protected:
    void SetUp() override {
        saved_ = CurrentRequestLimits();
        SetRequestLimits({500ms, 1000ms});
    }
    void TearDown() override {
        SetRequestLimits(saved_);
        SetTlsSettings({});
    }

  private:
    RequestLimits saved_;
};

struct Case {
    const char* what;
    std::function<WebReply()> request;
    WebError error;
    int status;
    std::string headers;  // what the header block starts with; "" for no block at all
    std::string cookies;
    std::string body;
};

TEST_F(WebRequestErrors, EachFailureHasItsKindAndKeepsOnlyWhatArrivedWhole) {
    const std::string cut_head =
        "HTTP/1.1 200 OK\r\nContent-Length: 100\r\nSet-Cookie: cut=1\r\nConnection: close\r\n\r\n";
    CaptureServer cut(cut_head + "only part");
    CaptureServer stalled({"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\npart"},
                          /*hold_open=*/true);
    CaptureServer closes(std::string{});  // reads the request, closes without a word
    CaptureServer silent(std::vector<std::string>{});
    CaptureServer refusal(CannedReply("404 Not Found", "Set-Cookie: nf=1\r\n", "no such page"));
    CaptureServer fine(CannedReply("200 OK", "Set-Cookie: a=1; Path=/\r\n", "whole"));
    const wiretest::IdlePort refusing(/*listening=*/false);
    wiretest::TlsTestServer tls;
    tls.Server().Get("/t", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("secret", "text/plain");
    });
    tls.Start();
    const auto get = [](std::string url) {
        return [url] {
            WebRequestOptions o;
            o.cookies_in = "";  // the store stays out of it
            return WebRequest(url, o);
        };
    };

    const Case cases[] = {
        {"a refused connection", get(refusing.Url()), WebError::Connect, 0, "", "", ""},
        {"a URL without a usable host", get("http://a b/x"), WebError::Connect, 0, "", "", ""},
        {"a server that takes the request and goes quiet", get(silent.Url("/q")),
         WebError::TimedOut, 0, "", "", ""},
        {"a certificate no one vouches for",
         [&tls] {
             SetTlsSettings({});  // the test CA is not trusted
             return WebRequest(tls.Url("/t"));
         },
         WebError::Tls, 0, "", "", ""},
        {"a connection closed mid-body", get(cut.Url("/c")), WebError::CutShort, 200, cut_head,
         "cut=1", ""},
        {"a body that stops coming", get(stalled.Url("/s")), WebError::CutShort, 200,
         "HTTP/1.1 200 OK\r\n", "", ""},
        {"a connection closed where the reply was due", get(closes.Url("/n")), WebError::CutShort,
         0, "", "", ""},
        {"a refusal by the platform is a reply", get(refusal.Url("/r")), WebError::None, 404,
         "HTTP/1.1 404 Not Found\r\n", "nf=1", "no such page"},
        {"a whole reply", get(fine.Url("/f")), WebError::None, 200, "HTTP/1.1 200 OK\r\n", "a=1",
         "whole"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const WebReply reply = c.request();
        EXPECT_EQ(reply.error, c.error);
        EXPECT_EQ(reply.Ok(), c.error == WebError::None);
        EXPECT_EQ(reply.status, c.status);
        EXPECT_EQ(reply.headers.substr(0, c.headers.size()), c.headers);
        EXPECT_EQ(reply.headers.empty(), c.headers.empty());
        EXPECT_EQ(reply.cookies, c.cookies);
        EXPECT_EQ(BytesToString(reply.body), c.body);
    }
}

TEST_F(WebRequestErrors, TheCallersCookiesAreMergedOnlyIntoAReplyThatBegan) {
    WebRequestOptions o;
    o.cookies_in = "mine=1";
    const wiretest::IdlePort refusing(/*listening=*/false);
    EXPECT_EQ(WebRequest(refusing.Url(), o).cookies, "");
    CaptureServer cut("HTTP/1.1 200 OK\r\nContent-Length: 9\r\nSet-Cookie: new=2\r\n\r\npart");
    EXPECT_EQ(WebRequest(cut.Url("/c"), o).cookies, "new=2; mine=1");
}

}  // namespace
