// WebRequest against the raw capture server: the exact bytes it sends, and what it makes
// of the bytes it gets back.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <thread>

#include "CaptureServer.h"
#include "net/Gbk.h"
#include "net/WebRequest.h"

using namespace vpsdesk::net;
using wiretest::CannedReply;
using wiretest::CaptureServer;

namespace {

using Lines = std::vector<std::string>;

constexpr const char* kAgent = "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

// A captured request split into the lines libcurl adds on its own and the lines the
// request's header block put there.
struct Sent {
    std::string request_line;
    Lines host, agent, content_length, store_cookie;
    Lines block;  // everything else, in wire order
    std::string body;
};

// `block_has_agent` / `block_has_cookie`: the block itself carries that line, so it is
// part of `block` rather than libcurl's.
Sent Parse(const std::string& raw, bool block_has_agent = false, bool block_has_cookie = false) {
    Sent s;
    Lines lines = wiretest::HeaderLines(raw);
    if (lines.empty()) return s;
    s.request_line = lines[0];
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::string& l = lines[i];
        if (l.rfind("Host: ", 0) == 0)
            s.host.push_back(l);
        else if (l.rfind("Content-Length: ", 0) == 0)
            s.content_length.push_back(l);
        else if (!block_has_agent && l.rfind("User-Agent: ", 0) == 0)
            s.agent.push_back(l);
        else if (!block_has_cookie && l.rfind("Cookie: ", 0) == 0)
            s.store_cookie.push_back(l);
        else
            s.block.push_back(l);
    }
    s.body = wiretest::RequestBody(raw);
    return s;
}

Sent SendAndCapture(const std::string& path, WebRequestOptions o = {}, bool block_has_agent = false,
                    bool block_has_cookie = false) {
    CaptureServer server;
    WebRequest(server.Url(path), o);
    return Parse(server.LastRequest(), block_has_agent, block_has_cookie);
}

std::string Bytes(const ByteArray& b) {
    return BytesToString(b);
}

TEST(WebRequestWire, GetSendsTheDefaultLinesAndNothingElse) {
    CaptureServer server(CannedReply("200 OK", "", "hello"));
    const std::string url = server.Url("/a/b?x=1&y=Z");
    EXPECT_EQ(Bytes(WebRequest(url)), "hello");

    Sent s = Parse(server.LastRequest());
    EXPECT_EQ(s.request_line, "GET /a/b?x=1&y=Z HTTP/1.1");
    EXPECT_EQ(s.host, Lines{"Host: 127.0.0.1:" + std::to_string(server.port())});
    EXPECT_EQ(s.agent, Lines{kAgent});
    EXPECT_TRUE(s.content_length.empty());
    EXPECT_EQ(s.block, (Lines{"Accept: */*", "Referer: " + url, "Accept-Language: zh-cn"}));
    EXPECT_EQ(s.body, "");
}

TEST(WebRequestWire, PostWithoutCallerHeadersSendsExactlyFourLines) {
    CaptureServer server;
    const std::string url = server.Url("/user/login");
    WebRequestOptions o;
    o.method = 1;
    o.body = "a=1&b=2";
    WebRequest(url, o);

    Sent s = Parse(server.LastRequest());
    EXPECT_EQ(s.request_line, "POST /user/login HTTP/1.1");
    EXPECT_EQ(s.block, (Lines{"Accept: */*", "Referer: " + url, "Accept-Language: zh-cn",
                              "Content-Type: application/x-www-form-urlencoded"}));
    EXPECT_EQ(s.content_length, Lines{"Content-Length: 7"});
    EXPECT_EQ(s.agent, Lines{kAgent});
    EXPECT_EQ(s.host.size(), 1u);
    EXPECT_EQ(s.body, "a=1&b=2");

    // A body too big for libcurl's taste still goes out at once, with no Expect line.
    o.body = std::string(2u << 20, 'x');
    WebRequest(url, o);
    s = Parse(server.LastRequest());
    EXPECT_EQ(s.block.size(), 4u);
    EXPECT_EQ(s.body.size(), 2u << 20);
}

TEST(WebRequestWire, EveryMethodCodeSendsItsVerbAndOnlyGetOmitsTheBody) {
    const std::vector<std::pair<int, std::string>> table = {
        {0, "GET"},    {1, "POST"},  {2, "HEAD"},    {3, "PUT"}, {4, "OPTIONS"},
        {5, "DELETE"}, {6, "TRACE"}, {7, "CONNECT"}, {9, "GET"}, {-1, "GET"}};
    for (const auto& [code, verb] : table) {
        SCOPED_TRACE(code);
        CaptureServer server;
        WebRequestOptions o;
        o.method = code;
        o.body = "k=v";
        ByteArray reply = WebRequest(server.Url("/m"), o);
        Sent s = Parse(server.LastRequest());
        EXPECT_EQ(s.request_line, verb + " /m HTTP/1.1");
        const bool get = verb == "GET";
        EXPECT_EQ(s.body, get ? "" : "k=v");
        EXPECT_EQ(s.content_length, get ? Lines{} : Lines{"Content-Length: 3"});
        // Only POST gets a Content-Type, and only from the default lines.
        Lines expected = {"Accept: */*", "Referer: " + server.Url("/m"), "Accept-Language: zh-cn"};
        if (code == 1) expected.push_back("Content-Type: application/x-www-form-urlencoded");
        EXPECT_EQ(s.block, expected);
        // A HEAD reply has no body, whatever its Content-Length says.
        EXPECT_EQ(Bytes(reply), code == 2 ? "" : "ok");
    }
}

TEST(WebRequestWire, HeadEndsAtTheReplyHeadersWithoutWaitingForABody) {
    // The server announces 100 bytes and never sends them, nor closes the connection.
    const std::string head = "HTTP/1.1 200 OK\r\nContent-Length: 100\r\nSet-Cookie: hd=1\r\n\r\n";
    CaptureServer server({head}, /*hold_open=*/true);
    std::string reply_headers, cookies;
    WebRequestOptions o;
    o.method = 2;
    o.reply_headers = &reply_headers;
    o.cookies_out = &cookies;
    EXPECT_TRUE(WebRequest(server.Url("/h"), o).empty());
    EXPECT_EQ(reply_headers, head);
    EXPECT_EQ(cookies, "hd=1");
}

TEST(WebRequestWire, HeadFollowsRedirectsToTheFinalHeaders) {
    const std::string moved = "HTTP/1.1 302 Found\r\nLocation: /b\r\nContent-Length: 5\r\n\r\n";
    const std::string final_head = "HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\n";
    CaptureServer server({moved, final_head}, /*hold_open=*/true);
    std::string reply_headers;
    WebRequestOptions o;
    o.method = 2;
    o.reply_headers = &reply_headers;
    WebRequest(server.Url("/a"), o);
    Lines requests;
    for (const std::string& r : server.Requests())
        requests.push_back(wiretest::HeaderLines(r).at(0));
    EXPECT_EQ(requests, (Lines{"HEAD /a HTTP/1.1", "HEAD /b HTTP/1.1"}));
    EXPECT_EQ(reply_headers, final_head);

    o.no_redirect = true;
    CaptureServer once({moved}, /*hold_open=*/true);
    WebRequest(once.Url("/a"), o);
    EXPECT_EQ(once.Requests().size(), 1u);
    EXPECT_EQ(reply_headers, moved);
}

TEST(WebRequestWire, NormalisedHeaderNamesAndTheirDefaults) {
    WebRequestOptions o;
    o.headers = "accept: text/html\r\nx-requested-with: XMLHttpRequest\r\nno colon here";
    Sent s = SendAndCapture("/n", o);
    // The lower-case accept line counts as an Accept line, so no default one is added.
    EXPECT_EQ(s.block[0], "Accept: text/html");
    EXPECT_EQ(s.block[1], "X-Requested-With: XMLHttpRequest");
    EXPECT_EQ(s.block.size(), 4u);  // + Referer, Accept-Language; the colonless line is gone
    EXPECT_EQ(s.block[3], "Accept-Language: zh-cn");
}

TEST(WebRequestWire, UnnormalisedLinesAreSentAsGiven) {
    WebRequestOptions o;
    o.normalize_headers = false;
    o.headers = "accept: text/html\r\nno colon here\r\nX-Empty:\r\n:odd";
    Sent s = SendAndCapture("/n", o);
    EXPECT_EQ(s.block.at(0), "accept: text/html");
    EXPECT_EQ(s.block.at(1), "no colon here");
    EXPECT_EQ(s.block.at(2), "X-Empty:");
    EXPECT_EQ(s.block.at(3), ":odd");
    EXPECT_EQ(s.block.size(), 6u);

    // A colonless first line, and one with nothing else to travel with.
    o.headers = "first raw\r\nX-A: 1";
    s = SendAndCapture("/n", o);
    EXPECT_EQ(s.block.at(0), "first raw");
    EXPECT_EQ(s.block.at(1), "X-A: 1");

    o.default_headers = false;
    o.headers = "lonely raw line";
    s = SendAndCapture("/n", o);
    EXPECT_EQ(s.block, Lines{"lonely raw line"});
    EXPECT_EQ(s.agent, Lines{kAgent});
}

TEST(WebRequestWire, EmptyLinesInTheCallerBlockDoNotEndTheHeaderSection) {
    WebRequestOptions o;
    o.normalize_headers = false;
    o.method = 1;
    o.body = "b=1";
    o.headers = "X-A: 1\r\n\r\nX-B: 2\r\n";
    Sent s = SendAndCapture("/e", o);
    EXPECT_EQ(s.block.at(0), "X-A: 1");
    EXPECT_EQ(s.block.at(1), "X-B: 2");
    EXPECT_EQ(s.body, "b=1");
}

TEST(WebRequestWire, CallerUserAgentReplacesTheDefaultOne) {
    WebRequestOptions o;
    o.headers = "user-agent: vpsdesk/1.0\r\nX-A: 1";
    Sent s = SendAndCapture("/u", o, /*block_has_agent=*/true);
    EXPECT_TRUE(s.agent.empty());
    EXPECT_EQ(s.block.at(0), "User-Agent: vpsdesk/1.0");
    EXPECT_EQ(std::count_if(s.block.begin(), s.block.end(),
                            [](const std::string& l) { return l.rfind("User-Agent", 0) == 0; }),
              1);
}

TEST(WebRequestWire, CookiesInIsSentAsACookieLine) {
    WebRequestOptions o;
    o.cookies_in = "a=1; b=2";
    Sent s = SendAndCapture("/c", o, false, /*block_has_cookie=*/true);
    EXPECT_EQ(s.block.back(), "Cookie: a=1; b=2");

    o.cookies_in = "Cookie: x=1";
    s = SendAndCapture("/c", o, false, true);
    EXPECT_EQ(s.block.back(), "Cookie: x=1");

    o.cookies_in = "a=1";
    o.default_headers = false;
    s = SendAndCapture("/c", o, false, true);
    EXPECT_EQ(s.block, Lines{"Cookie: a=1"});
}

TEST(WebRequestWire, CookiesInGivenBypassesTheStoreBothWays) {
    CaptureServer seed(CannedReply("200 OK", "Set-Cookie: bypass_seed=1; Path=/\r\n", "ok"));
    WebRequest(seed.Url("/seed"));

    // The store now holds a cookie for this host ...
    EXPECT_EQ(SendAndCapture("/plain").store_cookie.size(), 1u);
    // ... which a request with its own (even empty) cookie text neither sends ...
    CaptureServer other(CannedReply("200 OK", "Set-Cookie: bypass_new=1; Path=/\r\n", "ok"));
    WebRequestOptions o;
    o.cookies_in = "";
    WebRequest(other.Url("/own"), o);
    Sent s = Parse(other.LastRequest());
    EXPECT_TRUE(s.store_cookie.empty());
    EXPECT_EQ(std::count_if(s.block.begin(), s.block.end(),
                            [](const std::string& l) { return l.rfind("Cookie", 0) == 0; }),
              0);
    // ... nor stores what that reply sets.
    Sent after = SendAndCapture("/plain");
    ASSERT_EQ(after.store_cookie.size(), 1u);
    EXPECT_NE(after.store_cookie[0].find("bypass_seed=1"), std::string::npos);
    EXPECT_EQ(after.store_cookie[0].find("bypass_new"), std::string::npos);
}

TEST(WebRequestWire, BodyBytesTakePrecedenceAndReceiveTheGbkBody) {
    WebRequestOptions o;
    o.method = 1;
    o.body = "ignored";
    ByteArray raw = {'x', 0, 0xFF, '='};
    o.body_bytes = &raw;
    EXPECT_EQ(SendAndCapture("/b", o).body, std::string("x\0\xFF=", 4));
    EXPECT_EQ(raw, (ByteArray{'x', 0, 0xFF, '='}));

    ByteArray filled;
    o.body_bytes = &filled;
    o.body = "中文=值";
    const std::string gbk = "\xD6\xD0\xCE\xC4=\xD6\xB5";
    EXPECT_EQ(SendAndCapture("/b", o).body, gbk);
    EXPECT_EQ(BytesToString(filled), gbk);

    // GET sends no body and leaves the caller's bytes alone.
    ByteArray untouched;
    o.method = 0;
    o.body_bytes = &untouched;
    EXPECT_EQ(SendAndCapture("/b", o).body, "");
    EXPECT_TRUE(untouched.empty());
}

TEST(WebRequestWire, UrlAndHeaderTextGoOutAsGbk) {
    CaptureServer server;
    const std::string url = server.Url("/搜索 x?q=中文");
    WebRequestOptions o;
    o.headers = "X-Name: 中文";
    WebRequest(url, o);
    Sent s = Parse(server.LastRequest());
    EXPECT_EQ(s.request_line, "GET /%CB%D1%CB%F7%20x?q=%D6%D0%CE%C4 HTTP/1.1");
    EXPECT_EQ(s.block.at(0), "X-Name: \xD6\xD0\xCE\xC4");
    EXPECT_EQ(s.block.at(2), "Referer: " + Utf8ToGbk(url));
}

TEST(WebRequestWire, UrlWithoutSchemeGoesToTheHostByPlainHttpOnPort80) {
    // Through an HTTP proxy, so the request line shows where the request was addressed
    // (":80" is dropped there as the default port).
    CaptureServer proxy;
    WebRequestOptions o;
    o.proxy = "127.0.0.1:" + std::to_string(proxy.port());
    WebRequest("Example.INVALID/x?y=1", o);
    Sent s = Parse(proxy.LastRequest());
    EXPECT_EQ(s.request_line, "GET http://example.invalid/x?y=1 HTTP/1.1");
    EXPECT_EQ(s.block,
              (Lines{"Accept: */*", "Referer: Example.INVALID/x?y=1", "Accept-Language: zh-cn"}));
}

TEST(WebRequestWire, SocksProxyIsAskedToConnectToTheUrlsHost) {
    CaptureServer socks({CannedReply("200 OK", "", "via socks")}, false, /*socks4=*/true);
    WebRequestOptions o;
    o.proxy = "127.0.0.1:" + std::to_string(socks.port());
    o.socks_proxy = true;
    EXPECT_EQ(Bytes(WebRequest("http://10.1.2.3:8080/s", o)), "via socks");
    ASSERT_EQ(socks.Socks4Requests().size(), 1u);
    // SOCKS4 CONNECT to port 8080 (0x1F90) of 10.1.2.3.
    EXPECT_EQ(socks.Socks4Requests()[0].substr(0, 8),
              std::string("\x04\x01\x1F\x90\x0A\x01\x02\x03"));
    Sent s = Parse(socks.LastRequest());
    EXPECT_EQ(s.request_line, "GET /s HTTP/1.1");
    EXPECT_EQ(s.host, Lines{"Host: 10.1.2.3:8080"});
}

TEST(WebRequestWire, SecureUrlThroughAProxyOpensATunnel) {
    CaptureServer proxy(CannedReply("403 Forbidden", "", ""));
    WebRequestOptions o;
    o.proxy = "127.0.0.1:" + std::to_string(proxy.port());
    o.headers = "X-Secret: only-for-the-server";
    EXPECT_TRUE(WebRequest("https://example.invalid/x", o).empty());
    const std::string sent = proxy.LastRequest();
    EXPECT_EQ(wiretest::HeaderLines(sent).at(0), "CONNECT example.invalid:443 HTTP/1.1");
    EXPECT_EQ(sent.find("X-Secret"), std::string::npos);
}

TEST(WebRequestWire, ReplyHeadersAndSetCookieCollection) {
    const std::string head =
        "HTTP/1.1 200 OK\r\nSet-Cookie: sid=abc; path=/\r\nSet-Cookie: lang=zh\r\n"
        "set-cookie: lower=1\r\nX-Note: \xD6\xD0\xCE\xC4\r\nContent-Length: 2\r\nConnection: "
        "close\r\n\r\n";
    CaptureServer server(head + "ok");
    std::string reply_headers, cookies;
    WebRequestOptions o;
    o.reply_headers = &reply_headers;
    o.cookies_out = &cookies;
    EXPECT_EQ(Bytes(WebRequest(server.Url("/r"), o)), "ok");
    EXPECT_EQ(reply_headers, GbkToUtf8(head));
    EXPECT_NE(reply_headers.find("X-Note: 中文\r\n"), std::string::npos);
    EXPECT_EQ(cookies, "sid=abc; lang=zh");

    // The caller's cookies are merged in unless told not to.
    o.cookies_in = "sid=old; keep=1";
    WebRequest(server.Url("/r"), o);
    EXPECT_EQ(cookies, "sid=abc; lang=zh; keep=1");
    o.merge_cookies = false;
    WebRequest(server.Url("/r"), o);
    EXPECT_EQ(cookies, "sid=abc; lang=zh");

    CaptureServer plain;
    WebRequest(plain.Url("/r"), o);
    EXPECT_EQ(cookies, "");
}

TEST(WebRequestWire, FiftyMegabyteBodyComesBackWhole) {
    std::string body(50u << 20, '\0');
    for (size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>('a' + i % 26);
    CaptureServer server(CannedReply("200 OK", "", body));
    ByteArray reply = WebRequest(server.Url("/big"));
    ASSERT_EQ(reply.size(), body.size());
    EXPECT_TRUE(std::equal(reply.begin(), reply.end(), body.begin()));
}

TEST(WebRequestWire, LongReplyHeaderBlockIsReadWhole) {
    std::string lines;
    while (lines.size() < 200 * 1024) lines += "X-Pad: " + std::string(100, 'p') + "\r\n";
    lines += "Set-Cookie: late=1; Path=/\r\n";
    CaptureServer server(CannedReply("200 OK", lines, "ok"));
    std::string reply_headers, cookies;
    WebRequestOptions o;
    o.reply_headers = &reply_headers;
    o.cookies_out = &cookies;
    o.cookies_in = "";  // keep the store out of it
    EXPECT_EQ(Bytes(WebRequest(server.Url("/long"), o)), "ok");
    EXPECT_GT(reply_headers.size(), 200u * 1024);
    EXPECT_EQ(cookies, "late=1");
}

TEST(WebRequestWire, ZeroBytesInsideTheBodyAreKept) {
    CaptureServer server(CannedReply("200 OK", "", std::string("ab\0cd", 5)));
    ByteArray reply = WebRequest(server.Url("/z"));
    EXPECT_EQ(Bytes(reply), std::string("ab\0cd", 5));
    EXPECT_EQ(ReplyText(reply), "ab");
}

TEST(WebRequestWire, RefusedConnectionLeavesOutParametersAlone) {
    const wiretest::IdlePort refusing(/*listening=*/false);

    std::string reply_headers = "before", cookies = "before";
    WebRequestOptions o;
    o.reply_headers = &reply_headers;
    o.cookies_out = &cookies;
    o.cookies_in = "a=1";
    EXPECT_TRUE(
        WebRequest(refusing.Url(), o).empty());
    EXPECT_EQ(reply_headers, "before");
    EXPECT_EQ(cookies, "before");
}

TEST(WebRequestWire, ReplyCutShortGivesNoBodyButItsHeaders) {
    const std::string head =
        "HTTP/1.1 200 OK\r\nContent-Length: 100\r\nSet-Cookie: cut=1\r\nConnection: close\r\n\r\n";
    CaptureServer server(head + "only part");
    std::string reply_headers, cookies;
    WebRequestOptions o;
    o.reply_headers = &reply_headers;
    o.cookies_out = &cookies;
    o.cookies_in = "";
    EXPECT_TRUE(WebRequest(server.Url("/cut"), o).empty());
    EXPECT_EQ(reply_headers, head);
    EXPECT_EQ(cookies, "cut=1");
}

TEST(WebRequestWire, HeadersOfTheFinalResponseOnlyAfter100Continue) {
    const std::string final_head =
        "HTTP/1.1 200 OK\r\nContent-Length: 2\r\nConnection: close\r\n\r\n";
    CaptureServer server("HTTP/1.1 100 Continue\r\n\r\n" + final_head + "ok");
    std::string reply_headers;
    WebRequestOptions o;
    o.method = 1;
    o.reply_headers = &reply_headers;
    EXPECT_EQ(Bytes(WebRequest(server.Url("/c"), o)), "ok");
    EXPECT_EQ(reply_headers, final_head);
}

// Cancelling is for good, so it runs in a child process of its own.
void CancelScenario() {
    CaptureServer silent(std::vector<std::string>{});  // reads the request, never answers
    ByteArray in_flight = {'x'};
    std::thread worker([&] { in_flight = WebRequest(silent.Url("/wait")); });
    silent.WaitForRequests(1);
    CancelAllRequests();
    worker.join();
    CaptureServer later;
    ByteArray after = WebRequest(later.Url("/later"));
    bool ok = in_flight.empty() && after.empty() && later.Connections() == 0;
    std::fprintf(stderr, ok ? "cancelled\n" : "not cancelled\n");
    std::exit(ok ? 0 : 1);
}

TEST(WebRequestWireDeathTest, CancelEndsRequestsInFlightAndRefusesNewOnes) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(CancelScenario(), testing::ExitedWithCode(0), "^cancelled");
}

}  // namespace
