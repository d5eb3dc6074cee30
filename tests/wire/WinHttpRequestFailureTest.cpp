// Each status text of WinHttpRequest from the failure that really causes it, and what a
// failure leaves alone: every result but `status` keeps what the caller's variable held.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "CaptureServer.h"
#include "TestCertificates.h"
#include "TlsTestServer.h"
#include "net/WebRequest.h"
#include "net/WinHttpRequest.h"

using namespace vpsdesk::net;
using wiretest::CannedReply;
using wiretest::CaptureServer;

namespace {

class WinHttpRequestFailures : public testing::Test {
  protected:
    void TearDown() override { SetTlsSettings({}); }
};

struct Case {
    const char* what;
    std::function<void(WinHttpRequestParams&)> set_up;
    std::string status;
    WebError error;
};

TEST_F(WinHttpRequestFailures, EachStatusTextComesFromItsCauseAndTouchesNothingElse) {
    const wiretest::IdlePort refusing(/*listening=*/false);
    const wiretest::IdlePort never_accepts(/*listening=*/true);
    CaptureServer silent(std::vector<std::string>{});
    CaptureServer closes(std::string{});
    CaptureServer cut("HTTP/1.1 200 OK\r\nContent-Length: 100\r\nSet-Cookie: cut=1\r\n\r\npart");
    CaptureServer stalls({"HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\npart"},
                         /*hold_open=*/true);
    CaptureServer fine(CannedReply("200 OK", "", "fine"));
    wiretest::TlsTestServer tls;
    tls.Server().Get("/t", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("secret", "text/plain");
    });
    tls.Start();
    // A label longer than 63 bytes is refused by the resolver before any query goes out.
    const std::string unknown_host = "http://" + std::string(64, 'x') + ".invalid/";
    const auto url = [](std::string u) { return [u](WinHttpRequestParams& p) { p.url = u; }; };

    const Case cases[] = {
        {"a refused connection", url(refusing.Url()), "711 发送请求失败!", WebError::Connect},
        {"an unknown host", url(unknown_host), "711 发送请求失败!", WebError::Connect},
        {"a certificate no one vouches for", url(tls.Url("/t")), "711 发送请求失败!",
         WebError::Tls},
        {"a TLS handshake that never ends",
         [&](WinHttpRequestParams& p) {
             p.url = never_accepts.Url("https");
             p.timeout_seconds = 1;
         },
         "711 发送请求失败!", WebError::TimedOut},
        {"a server that takes the request and goes quiet",
         [&](WinHttpRequestParams& p) {
             p.url = silent.Url("/q");
             p.timeout_seconds = 1;
         },
         "712 服务器未响应!", WebError::TimedOut},
        {"a connection closed where the reply was due", url(closes.Url("/n")), "712 服务器未响应!",
         WebError::CutShort},
        {"a connection closed mid-body", url(cut.Url("/c")), "713 读取数据失败!",
         WebError::CutShort},
        {"a body that stops coming",
         [&](WinHttpRequestParams& p) {
             p.url = stalls.Url("/s");
             p.timeout_seconds = 1;
         },
         "713 读取数据失败!", WebError::CutShort},
        {"a URL of another scheme", url("ftp://127.0.0.1/x"), "701 解析URL地址失败!",
         WebError::Connect},
        {"a URL without a scheme", url("127.0.0.1/x"), "701 解析URL地址失败!", WebError::Connect},
        {"an unusable proxy address",
         [&](WinHttpRequestParams& p) {
             p.url = fine.Url("/");
             p.proxy = "no such:proxy";
         },
         "702 创建WinHttp会话失败!", WebError::Connect},
        {"a time-out past what a 32-bit count of milliseconds holds",
         [&](WinHttpRequestParams& p) {
             p.url = fine.Url("/");
             p.timeout_seconds = 3'000'000;
         },
         "705 设置超时时间失败!", WebError::Connect},
        {"a server user name with a colon",
         [&](WinHttpRequestParams& p) {
             p.url = fine.Url("/");
             p.user = "a:b";
             p.password = "pw";
         },
         "707 设置代理凭证失败!", WebError::Connect},
        {"a proxy password with a line break",
         [&](WinHttpRequestParams& p) {
             p.url = fine.Url("/");
             p.proxy = "127.0.0.1:1";
             p.proxy_user = "u";
             p.proxy_password = "p\r\nX-Injected: 1";
         },
         "707 设置代理凭证失败!", WebError::Connect},
        {"a deployment CA file that cannot be read",
         [&](WinHttpRequestParams& p) {
             SetTlsSettings({"/nonexistent/ca.pem", true});
             p.url = tls.Url("/t");
         },
         "忽略错误/证书错误  失败！", WebError::Tls},
        {"an untidied line without a colon",
         [&](WinHttpRequestParams& p) {
             p.url = fine.Url("/");
             p.normalize_headers = false;
             p.headers = "no colon here";
         },
         "710 设置协议头失败!", WebError::Connect},
        {"a header value with a bare line break",
         [&](WinHttpRequestParams& p) {
             p.url = fine.Url("/");
             p.headers = "X-A: 1\nX-Injected: 2";
         },
         "710 设置协议头失败!", WebError::Connect},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetTlsSettings({});  // the test CA is not trusted
        WinHttpRequestParams p;
        c.set_up(p);
        std::string status, location = "L", headers = "H", cookies = "c=1";
        ByteArray bytes = ToBytes("kept");
        p.status = &status;
        p.location = &location;
        p.reply_headers = &headers;
        p.cookies_out = &cookies;
        p.reply_bytes = &bytes;
        const WinHttpReply reply = WinHttpRequest(p);
        EXPECT_EQ(status, c.status);
        EXPECT_EQ(reply.error, c.error);
        EXPECT_EQ(reply.text, "");
        EXPECT_EQ(location, "L");
        EXPECT_EQ(headers, "H");
        EXPECT_EQ(cookies, "c=1");
        EXPECT_EQ(BytesToString(bytes), "kept");
    }
    // Nothing of the refused requests reached the platform.
    EXPECT_TRUE(fine.Requests().empty());
}

TEST_F(WinHttpRequestFailures, TrustedCertificateIsAcceptedAndVerificationCanBeSwitchedOff) {
    wiretest::TlsTestServer tls;
    tls.Server().Get("/t", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("secret", "text/plain");
    });
    tls.Start();
    for (const TlsSettings& settings :
         {TlsSettings{wiretest::Certificates().ca_file, true}, TlsSettings{"", false}}) {
        SetTlsSettings(settings);
        WinHttpRequestParams p;
        p.url = tls.Url("/t");
        std::string status;
        p.status = &status;
        EXPECT_EQ(WinHttpRequest(p).text, "secret");
        EXPECT_EQ(status, "200 OK");
    }
}

}  // namespace
