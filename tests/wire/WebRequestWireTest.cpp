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

std::string Bytes(const WebReply& reply) {
    return BytesToString(reply.body);
}

TEST(WebRequestWire, GetSendsTheDefaultLinesAndNothingElse) {
    CaptureServer server(CannedReply("200 OK", "", "hello"));
    const std::string url = server.Url("/a/b?x=1&y=Z");
    EXPECT_EQ(Bytes(WebRequest(url)), "hello");

    Sent s = Parse(server.LastRequest());
    EXPECT_EQ(s.request_line, "GET /a/b?x=1&y=Z HTTP/1.1");
    EXPECT_EQ(s.host, Lines{"Host: 127.0.0.1:" + std::to_string(server.Port())});
    EXPECT_EQ(s.agent, Lines{kAgent});
    EXPECT_TRUE(s.content_length.empty());
    EXPECT_EQ(s.block, (Lines{"Accept: */*", "Referer: " + url, "Accept-Language: zh-cn"}));
    EXPECT_EQ(s.body, "");
}

TEST(WebRequestWire, PostWithoutCallerHeadersSendsExactlyFourLines) {
    CaptureServer server;
    const std::string url = server.Url("/user/login");
    WebRequestOptions o;
    o.verb = HttpVerb::Post;
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

TEST(WebRequestWire, EveryVerbIsSentAndOnlyGetOmitsTheBody) {
    const std::vector<std::pair<HttpVerb, std::string>> table = {
        {HttpVerb::Get, "GET"},     {HttpVerb::Post, "POST"},       {HttpVerb::Head, "HEAD"},
        {HttpVerb::Put, "PUT"},     {HttpVerb::Options, "OPTIONS"}, {HttpVerb::Delete, "DELETE"},
        {HttpVerb::Trace, "TRACE"}, {HttpVerb::Connect, "CONNECT"}};
    for (const auto& [code, verb] : table) {
        SCOPED_TRACE(verb);
        CaptureServer server;
        WebRequestOptions o;
        o.verb = code;
        o.body = "k=v";
        WebReply reply = WebRequest(server.Url("/m"), o);
        Sent s = Parse(server.LastRequest());
        EXPECT_EQ(s.request_line, verb + " /m HTTP/1.1");
        const bool get = verb == "GET";
        EXPECT_EQ(s.body, get ? "" : "k=v");
        EXPECT_EQ(s.content_length, get ? Lines{} : Lines{"Content-Length: 3"});
        // Only POST gets a Content-Type, and only from the default lines.
        Lines expected = {"Accept: */*", "Referer: " + server.Url("/m"), "Accept-Language: zh-cn"};
        if (code == HttpVerb::Post)
            expected.push_back("Content-Type: application/x-www-form-urlencoded");
        EXPECT_EQ(s.block, expected);
        // A HEAD reply has no body, whatever its Content-Length says.
        EXPECT_EQ(Bytes(reply), code == HttpVerb::Head ? "" : "ok");
        EXPECT_TRUE(reply.Ok());
    }
}

TEST(WebRequestWire, HeadEndsAtTheReplyHeadersWithoutWaitingForABody) {
    // The server announces 100 bytes and never sends them, nor closes the connection.
    const std::string head = "HTTP/1.1 200 OK\r\nContent-Length: 100\r\nSet-Cookie: hd=1\r\n\r\n";
    CaptureServer server({head}, /*hold_open=*/true);
    WebRequestOptions o;
    o.verb = HttpVerb::Head;
    WebReply reply = WebRequest(server.Url("/h"), o);
    EXPECT_EQ(reply.error, WebError::None);
    EXPECT_TRUE(reply.body.empty());
    EXPECT_EQ(reply.headers, head);
    EXPECT_EQ(reply.cookies, "hd=1");
}

TEST(WebRequestWire, HeadFollowsRedirectsToTheFinalHeaders) {
    const std::string moved = "HTTP/1.1 302 Found\r\nLocation: /b\r\nContent-Length: 5\r\n\r\n";
    const std::string final_head = "HTTP/1.1 200 OK\r\nContent-Length: 9\r\n\r\n";
    CaptureServer server({moved, final_head}, /*hold_open=*/true);
    WebRequestOptions o;
    o.verb = HttpVerb::Head;
    WebReply reply = WebRequest(server.Url("/a"), o);
    Lines requests;
    for (const std::string& r : server.Requests())
        requests.push_back(wiretest::HeaderLines(r).at(0));
    EXPECT_EQ(requests, (Lines{"HEAD /a HTTP/1.1", "HEAD /b HTTP/1.1"}));
    EXPECT_EQ(reply.headers, final_head);
    EXPECT_EQ(reply.status, 200);

    o.no_redirect = true;
    CaptureServer once({moved}, /*hold_open=*/true);
    reply = WebRequest(once.Url("/a"), o);
    EXPECT_EQ(once.Requests().size(), 1u);
    EXPECT_EQ(reply.headers, moved);
    EXPECT_EQ(reply.status, 302);
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
    o.verb = HttpVerb::Post;
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

TEST(WebRequestWire, BodyBytesGoOutAsTheyAreAndTextAsGbk) {
    WebRequestOptions o;
    o.verb = HttpVerb::Post;
    o.body = "ignored";
    o.body_bytes = ByteArray{'x', 0, 0xFF, '='};
    EXPECT_EQ(SendAndCapture("/b", o).body, std::string("x\0\xFF=", 4));
    o.body_bytes = ByteArray();
    EXPECT_EQ(SendAndCapture("/b", o).body, "");

    o.body_bytes.reset();
    o.body = "中文=值";
    EXPECT_EQ(SendAndCapture("/b", o).body, "\xD6\xD0\xCE\xC4=\xD6\xB5");

    // GET sends no body.
    o.verb = HttpVerb::Get;
    o.body_bytes = ByteArray{'x'};
    EXPECT_EQ(SendAndCapture("/b", o).body, "");
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
    o.proxy = "127.0.0.1:" + std::to_string(proxy.Port());
    WebRequest("Example.INVALID/x?y=1", o);
    Sent s = Parse(proxy.LastRequest());
    EXPECT_EQ(s.request_line, "GET http://example.invalid/x?y=1 HTTP/1.1");
    EXPECT_EQ(s.block,
              (Lines{"Accept: */*", "Referer: Example.INVALID/x?y=1", "Accept-Language: zh-cn"}));
}

TEST(WebRequestWire, SocksProxyIsAskedToConnectToTheUrlsHost) {
    CaptureServer socks({CannedReply("200 OK", "", "via socks")}, false, /*socks4=*/true);
    WebRequestOptions o;
    o.proxy = "127.0.0.1:" + std::to_string(socks.Port());
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
    o.proxy = "127.0.0.1:" + std::to_string(proxy.Port());
    o.headers = "X-Secret: only-for-the-server";
    EXPECT_TRUE(WebRequest("https://example.invalid/x", o).body.empty());
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
    WebRequestOptions o;
    WebReply reply = WebRequest(server.Url("/r"), o);
    EXPECT_EQ(Bytes(reply), "ok");
    EXPECT_EQ(reply.headers, GbkToUtf8(head));
    EXPECT_NE(reply.headers.find("X-Note: 中文\r\n"), std::string::npos);
    EXPECT_EQ(reply.cookies, "sid=abc; lang=zh");

    // The caller's cookies are merged in unless told not to.
    o.cookies_in = "sid=old; keep=1";
    EXPECT_EQ(WebRequest(server.Url("/r"), o).cookies, "sid=abc; lang=zh; keep=1");
    o.merge_cookies = false;
    EXPECT_EQ(WebRequest(server.Url("/r"), o).cookies, "sid=abc; lang=zh");

    CaptureServer plain;
    EXPECT_EQ(WebRequest(plain.Url("/r"), o).cookies, "");
}

TEST(WebRequestWire, FiftyMegabyteBodyComesBackWhole) {
    std::string body(50u << 20, '\0');
    for (size_t i = 0; i < body.size(); ++i) body[i] = static_cast<char>('a' + i % 26);
    CaptureServer server(CannedReply("200 OK", "", body));
    const ByteArray reply = WebRequest(server.Url("/big")).body;
    ASSERT_EQ(reply.size(), body.size());
    EXPECT_TRUE(std::equal(reply.begin(), reply.end(), body.begin()));
}

TEST(WebRequestWire, LongReplyHeaderBlockIsReadWhole) {
    std::string lines;
    while (lines.size() < 200 * 1024) lines += "X-Pad: " + std::string(100, 'p') + "\r\n";
    lines += "Set-Cookie: late=1; Path=/\r\n";
    CaptureServer server(CannedReply("200 OK", lines, "ok"));
    WebRequestOptions o;
    o.cookies_in = "";  // keep the store out of it
    WebReply reply = WebRequest(server.Url("/long"), o);
    EXPECT_EQ(Bytes(reply), "ok");
    EXPECT_GT(reply.headers.size(), 200u * 1024);
    EXPECT_EQ(reply.cookies, "late=1");
}

TEST(WebRequestWire, ZeroBytesInsideTheBodyAreKept) {
    CaptureServer server(CannedReply("200 OK", "", std::string("ab\0cd", 5)));
    WebReply reply = WebRequest(server.Url("/z"));
    EXPECT_EQ(Bytes(reply), std::string("ab\0cd", 5));
    EXPECT_EQ(ReplyText(reply.body), "ab");
}

TEST(WebRequestWire, HeadersOfTheFinalResponseOnlyAfter100Continue) {
    const std::string final_head =
        "HTTP/1.1 200 OK\r\nContent-Length: 2\r\nConnection: close\r\n\r\n";
    CaptureServer server("HTTP/1.1 100 Continue\r\n\r\n" + final_head + "ok");
    WebRequestOptions o;
    o.verb = HttpVerb::Post;
    WebReply reply = WebRequest(server.Url("/c"), o);
    EXPECT_EQ(Bytes(reply), "ok");
    EXPECT_EQ(reply.headers, final_head);
    EXPECT_EQ(reply.status, 200);
}

// Cancelling is for good, so it runs in a child process of its own.
void CancelScenario() {
    CaptureServer silent(std::vector<std::string>{});  // reads the request, never answers
    WebReply in_flight;
    std::thread worker([&] { in_flight = WebRequest(silent.Url("/wait")); });
    silent.WaitForRequests(1);
    CancelAllRequests();
    worker.join();
    CaptureServer later(CannedReply("200 OK", "", "too late"));
    WebReply after = WebRequest(later.Url("/later"));
    bool ok = in_flight.error == WebError::Cancelled && in_flight.body.empty() &&
              after.error == WebError::Cancelled && after.body.empty() && later.Connections() == 0;
    std::fprintf(stderr, ok ? "cancelled\n" : "not cancelled\n");
    std::exit(ok ? 0 : 1);
}

TEST(WebRequestWireDeathTest, CancelEndsRequestsInFlightAndRefusesNewOnes) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(CancelScenario(), testing::ExitedWithCode(0), "^cancelled");
}

}  // namespace
