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
    std::string url;
    std::string status;
    WebError error;
    std::function<void(WinHttpRequestParams&)> tweak = [](WinHttpRequestParams&) {};
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
    const std::string sent = "711 发送请求失败!", quiet = "712 服务器未响应!",
                      read = "713 读取数据失败!", url = "701 解析URL地址失败!",
                      credentials = "707 设置代理凭证失败!", refused_block = "710 设置协议头失败!";

    const Case cases[] = {
        {"a refused connection", refusing.Url(), sent, WebError::Connect},
        {"an unknown host", unknown_host, sent, WebError::Connect},
        {"a certificate no one vouches for", tls.Url("/t"), sent, WebError::Tls},
        {"a TLS handshake that never ends", never_accepts.Url("https"), sent, WebError::TimedOut},
        {"a server that takes the request and goes quiet", silent.Url(), quiet, WebError::TimedOut},
        {"a connection closed where the reply was due", closes.Url(), quiet, WebError::CutShort},
        {"a connection closed mid-body", cut.Url(), read, WebError::CutShort},
        {"a body that stops coming", stalls.Url(), read, WebError::CutShort},
        {"a URL of another scheme", "ftp://127.0.0.1/x", url, WebError::Connect},
        {"a URL without a scheme", "127.0.0.1/x", url, WebError::Connect},
        {"an unusable proxy address", fine.Url(), "702 创建WinHttp会话失败!", WebError::Connect,
         [](auto& p) { p.proxy = "no such:proxy"; }},
        {"more seconds than 32 bits of milliseconds hold", fine.Url(), "705 设置超时时间失败!",
         WebError::Connect, [](auto& p) { p.timeout_seconds = 3'000'000; }},
        {"a server user name with a colon", fine.Url(), credentials, WebError::Connect,
         [](auto& p) {
             p.user = "a:b";
             p.password = "pw";
         }},
        {"a proxy password with a line break", fine.Url(), credentials, WebError::Connect,
         [](auto& p) {
             p.proxy = "127.0.0.1:1";
             p.proxy_user = "u";
             p.proxy_password = "p\r\nX: 1";
         }},
        {"a deployment CA file that cannot be read", tls.Url("/t"), "忽略错误/证书错误  失败！",
         WebError::Tls,
         [](auto&) {
             SetTlsSettings({"/nonexistent/ca.pem", true});
         }},
        {"an untidied line without a colon", fine.Url(), refused_block, WebError::Connect,
         [](auto& p) {
             p.normalize_headers = false;
             p.headers = "no colon here";
         }},
        {"a header value with a bare line break", fine.Url(), refused_block, WebError::Connect,
         [](auto& p) { p.headers = "X-A: 1\nX-Injected: 2"; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetTlsSettings({});  // the test CA is not trusted
        WinHttpRequestParams p;
        p.url = c.url;
        p.timeout_seconds = 1;
        c.tweak(p);
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
