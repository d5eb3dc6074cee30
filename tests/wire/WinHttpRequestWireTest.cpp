// WinHttpRequest against the raw capture server: the exact header block it sends, and
// what it makes of a reply's status line, Location, cookies and character set.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "CaptureServer.h"
#include "net/Gbk.h"
#include "net/PhaseTimeout.h"
#include "net/Text.h"
#include "net/WebRequest.h"
#include "net/WinHttpRequest.h"

using namespace vpsdesk::net;
using namespace std::chrono_literals;
using wiretest::CannedReply;
using wiretest::CaptureServer;

namespace {

using Lines = std::vector<std::string>;

const Lines kPostDefaults = {
    "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)",
    "Accept: text/html, application/xhtml+xml, */*",
    "Accept-Encoding: identity",
    "Accept-Language: zh-cn",
    "Content-Type: application/x-www-form-urlencoded",
    "Cache-Control: no-cache",
};

// The header lines the block put on the wire: all but the request line and the two that
// libcurl writes itself.
Lines BlockLines(const std::string& raw) {
    Lines out;
    Lines lines = wiretest::HeaderLines(raw);
    for (size_t i = 1; i < lines.size(); ++i)
        if (lines[i].rfind("Host: ", 0) != 0 && lines[i].rfind("Content-Length: ", 0) != 0)
            out.push_back(lines[i]);
    return out;
}

Lines Without(Lines lines, const std::string& dropped) {
    std::erase(lines, dropped);
    return lines;
}

TEST(WinHttpRequestWire, DefaultLinesGoOutInTheirOrderAndEveryVerbCarriesItsBody) {
    struct Case {
        HttpVerb method;
        std::string body;
        std::string request_line;
        Lines block;
        std::string content_length;  // "" for none
    };
    const Case cases[] = {
        {HttpVerb::Post, "a=1&b=2", "POST /p?x=1 HTTP/1.1", kPostDefaults, "Content-Length: 7"},
        {HttpVerb::Post, "", "POST /p?x=1 HTTP/1.1", kPostDefaults, "Content-Length: 0"},
        {HttpVerb::Get, "", "GET /p?x=1 HTTP/1.1", Without(kPostDefaults, kPostDefaults[4]), ""},
        {HttpVerb::Get, "q=1", "GET /p?x=1 HTTP/1.1", Without(kPostDefaults, kPostDefaults[4]),
         "Content-Length: 3"},
        {HttpVerb::Put, "k=v", "PUT /p?x=1 HTTP/1.1", Without(kPostDefaults, kPostDefaults[4]),
         "Content-Length: 3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.request_line + " body " + c.body);
        CaptureServer server;
        WinHttpRequestParams p;
        p.url = server.Url("/p?x=1");
        p.method = c.method;
        p.body = c.body;
        EXPECT_EQ(WinHttpRequest(p).text, "ok");
        const std::string raw = server.LastRequest();
        EXPECT_EQ(wiretest::HeaderLines(raw).at(0), c.request_line);
        EXPECT_EQ(BlockLines(raw), c.block);
        const Lines lines = wiretest::HeaderLines(raw);
        EXPECT_EQ(std::count(lines.begin(), lines.end(), c.content_length),
                  c.content_length.empty() ? 0 : 1);
        EXPECT_EQ(wiretest::RequestBody(raw), c.body);
    }
}

TEST(WinHttpRequestWire, CallerLinesComeFirstAndSuppressTheirDefaults) {
    CaptureServer server;
    WinHttpRequestParams p;
    p.url = server.Url("/");
    p.method = HttpVerb::Post;
    p.headers = "user-agent: probe/1\r\ncontent-type: text/plain\r\nx-token: 7";
    p.body_bytes = ToBytes("raw\x01");
    p.body = "ignored";
    WinHttpRequest(p);
    EXPECT_EQ(BlockLines(server.LastRequest()),
              (Lines{"User-Agent: probe/1", "Content-Type: text/plain", "X-Token: 7",
                     "Accept: text/html, application/xhtml+xml, */*", "Accept-Encoding: identity",
                     "Accept-Language: zh-cn", "Cache-Control: no-cache"}));
    EXPECT_EQ(wiretest::RequestBody(server.LastRequest()), "raw\x01");

    // Without the defaults and without tidying, the block is the caller's alone.
    p.default_headers = false;
    p.normalize_headers = false;
    p.headers = "x-lower: 1";
    WinHttpRequest(p);
    EXPECT_EQ(BlockLines(server.LastRequest()), Lines{"x-lower: 1"});
}

TEST(WinHttpRequestWire, KeepAliveLineIsTakenOutOnlyInItsExactSpelling) {
    struct Case {
        std::string headers;
        bool default_headers;
        Lines connection_lines;
    };
    const Case cases[] = {
        {"Connection: keep-alive\r\nX-A: 1", true, {}},
        {"X-A: 1\r\nConnection: keep-alive", true, {}},
        {"Connection: Keep-Alive\r\nX-A: 1", true, {"Connection: Keep-Alive"}},
        {"Connection: close\r\nX-A: 1", true, {"Connection: close"}},
        // The line is taken out with its line break; the last line of a tidied block has
        // none, which only the caller's own last line can be when no defaults follow it.
        {"X-A: 1\r\nConnection: keep-alive", false, {"Connection: keep-alive"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.headers);
        CaptureServer server;
        WinHttpRequestParams p;
        p.url = server.Url("/");
        p.headers = c.headers;
        p.default_headers = c.default_headers;
        WinHttpRequest(p);
        Lines connection;
        for (const std::string& line : BlockLines(server.LastRequest()))
            if (line.rfind("Connection", 0) == 0) connection.push_back(line);
        EXPECT_EQ(connection, c.connection_lines);
        const Lines block = BlockLines(server.LastRequest());
        EXPECT_EQ(std::count(block.begin(), block.end(), "X-A: 1"), 1);
    }
}

TEST(WinHttpRequestWire, BasicCredentialsGoToTheServerAndTheProxy) {
    CaptureServer server;
    WinHttpRequestParams p;
    p.url = server.Url("/a");
    p.user = "alice";
    p.password = "s3cret";
    WinHttpRequest(p);
    Lines lines = wiretest::HeaderLines(server.LastRequest());
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Authorization: Basic YWxpY2U6czNjcmV0"), 1);

    p.password.clear();  // half a pair sends nothing
    WinHttpRequest(p);
    for (const std::string& line : wiretest::HeaderLines(server.LastRequest()))
        EXPECT_EQ(line.find("Authorization"), std::string::npos) << line;

    // Through a proxy the request line carries the whole URL.
    CaptureServer proxy;
    p.url = "http://platform.test/b";
    p.proxy = "127.0.0.1:" + std::to_string(proxy.Port());
    p.proxy_user = "bob";
    p.proxy_password = "pw";
    WinHttpRequest(p);
    lines = wiretest::HeaderLines(proxy.LastRequest());
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "GET http://platform.test/b HTTP/1.1");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Proxy-Authorization: Basic Ym9iOnB3"), 1);
}

TEST(WinHttpRequestWire, TimeOutIsPerPhaseInSecondsAndZeroOrLessMeansThirty) {
    EXPECT_EQ(PhaseTimeout(0), std::chrono::milliseconds(30'000));
    EXPECT_EQ(PhaseTimeout(-5), std::chrono::milliseconds(30'000));
    EXPECT_EQ(PhaseTimeout(10), std::chrono::milliseconds(10'000));
    EXPECT_EQ(PhaseTimeout(2'147'483), std::chrono::milliseconds(2'147'483'000));
    EXPECT_EQ(PhaseTimeout(2'147'484), std::nullopt);

    // A body byte that comes after 1.5 s is within a limit of 10 s, and within the 30 s
    // of 0 and -5; a limit of 1 s cuts the reply off.
    for (long long seconds : {10LL, 0LL, -5LL, 1LL}) {
        SCOPED_TRACE(seconds);
        CaptureServer server(CannedReply("200 OK", "", "a"));
        server.SetBodyByteGap(1500ms);
        WinHttpRequestParams p;
        p.url = server.Url("/slow");
        p.timeout_seconds = seconds;
        std::string status;
        p.status = &status;
        const WinHttpReply reply = WinHttpRequest(p);
        EXPECT_EQ(reply.text, seconds == 1 ? "" : "a");
        EXPECT_EQ(status, seconds == 1 ? "713 读取数据失败!" : "200 OK");
    }
}

TEST(WinHttpRequestWire, StatusAndLocationOfTheFinalReply) {
    const std::string moved = CannedReply("302 Found", "Location: /page/x\r\n", "moved");
    CaptureServer server({moved, CannedReply("404 Not Found", "", "gone")});
    WinHttpRequestParams p;
    p.url = server.Url("/start");
    p.no_redirect = true;
    std::string status, location, headers;
    ByteArray bytes;
    p.status = &status;
    p.location = &location;
    p.reply_headers = &headers;
    p.reply_bytes = &bytes;
    EXPECT_EQ(WinHttpRequest(p).text, "moved");
    EXPECT_EQ(status, "302 Found");
    EXPECT_EQ(location, "/page/x");
    EXPECT_TRUE(headers.starts_with("HTTP/1.1 302 Found\r\nLocation: /page/x\r\n")) << headers;
    EXPECT_TRUE(headers.ends_with("\r\n\r\n"));
    EXPECT_EQ(BytesToString(bytes), "moved");
    EXPECT_EQ(server.Requests().size(), 1u);

    // Followed, the outputs describe where it ended.
    CaptureServer follows({moved, CannedReply("404 Not Found", "", "gone")});
    p.url = follows.Url("/start");
    p.no_redirect = false;
    EXPECT_EQ(WinHttpRequest(p).text, "gone");
    EXPECT_EQ(status, "404 Not Found");
    EXPECT_EQ(location, "");
    EXPECT_EQ(wiretest::HeaderLines(follows.LastRequest()).at(0), "GET /page/x HTTP/1.1");
}

TEST(WinHttpRequestWire, PageIsDecodedByTheCharacterSetItDeclares) {
    const std::string words = "注册成功";
    struct Case {
        const char* what;
        std::string head;
        std::string body_bytes;
    };
    const Case cases[] = {
        {"utf-8", "<meta charset=\"utf-8\">", words},
        {"UTF-8 in a content type",
         "<META http-equiv=Content-Type content='text/html; charset=UTF-8'>", words},
        {"gbk", "<meta charset=gbk>", Utf8ToGbk(words)},
        {"gb2312", "<meta charset=gb2312>", Utf8ToGbk(words)},
        {"GBK in capitals, by name", "<meta charset=GBK>", Utf8ToGbk(words)},
        {"none", "<title>x</title>", Utf8ToGbk(words)},
        {"a name iconv does not know", "<meta charset=x-nothing>", Utf8ToGbk(words)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string page = "<html><head>" + c.head + "</head><body>" + c.body_bytes;
        CaptureServer server(CannedReply("200 OK", "", page));
        WinHttpRequestParams p;
        p.url = server.Url("/");
        ByteArray bytes;
        p.reply_bytes = &bytes;
        const std::string expected_head = c.head;  // ASCII either way
        EXPECT_EQ(WinHttpRequest(p).text, "<html><head>" + expected_head + "</head><body>" + words);
        EXPECT_EQ(BytesToString(bytes), page);  // the raw bytes as they came
    }

    // Only the exact lower-case names stay with GBK: "GB2312" goes through its own, narrower
    // conversion, which lacks a character that GBK has.
    for (const char* name : {"gb2312", "GB2312"}) {
        SCOPED_TRACE(name);
        const std::string page = "<meta charset=" + std::string(name) + ">" + Utf8ToGbk("國");
        CaptureServer server(CannedReply("200 OK", "", page));
        WinHttpRequestParams p;
        p.url = server.Url("/");
        const std::string text = WinHttpRequest(p).text;
        EXPECT_EQ(text.find("國") != std::string::npos, std::string(name) == "gb2312") << text;
    }

    // A declaration past the first 1024 bytes is not seen: the page stays GBK.
    const std::string late = std::string(1100, ' ') + "<meta charset=utf-8>" + words;
    CaptureServer server(CannedReply("200 OK", "", late));
    WinHttpRequestParams p;
    p.url = server.Url("/");
    EXPECT_EQ(WinHttpRequest(p).text, GbkToUtf8(late));
}

TEST(WinHttpRequestWire, ReplyCookiesAreAppendedToWhatTheCallerHolds) {
    const std::string reply = CannedReply(
        "200 OK", "Set-Cookie: a=1; path=/\r\nSet-Cookie: b=2\r\nset-cookie: c=3\r\n", "");
    struct Case {
        std::string held;
        std::string expected;
    };
    const Case cases[] = {
        {"", "a=1; b=2"},
        {"old=1", "old=1; a=1; b=2"},
        {"old=1; ", "old=1; a=1; b=2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.held);
        CaptureServer server(reply);
        WinHttpRequestParams p;
        p.url = server.Url("/");
        std::string out = c.held;
        p.cookies_out = &out;
        WinHttpRequest(p);
        EXPECT_EQ(out, c.expected);
    }

    // With the caller's own cookies: sent as its Cookie line, then merged.
    CaptureServer server(reply);
    WinHttpRequestParams p;
    p.url = server.Url("/");
    std::string in = " sid=9; a=0 ";
    std::string out = "old=1";
    p.cookies_in = &in;
    p.cookies_out = &out;
    WinHttpRequest(p);
    EXPECT_EQ(BlockLines(server.LastRequest()).back(), "Cookie:  sid=9; a=0 ");
    EXPECT_EQ(out, "old=1; a=1; b=2; sid=9");
    EXPECT_EQ(in, "sid=9; a=0");  // trimmed by the merge, as the caller's variable is part of it
}

TEST(WinHttpRequestWire, CallerCookiesBecomeOneCookieLineUnlessTheBlockHasOne) {
    struct Case {
        std::string headers, cookies_in;
        Lines cookie_lines;
    };
    const Case cases[] = {
        {"", "a=1; b=2", {"Cookie: a=1; b=2"}},
        {"", "cookie: x=1", {"cookie: x=1"}},  // a ready line, in any letter case
        {"cookie: h=1", "a=1", {"Cookie: h=1"}},
        {"", "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.headers + " | " + c.cookies_in);
        CaptureServer server;
        WinHttpRequestParams p;
        p.url = server.Url("/");
        p.headers = c.headers;
        std::string in = c.cookies_in;
        p.cookies_in = &in;
        WinHttpRequest(p);
        Lines cookie_lines;
        for (const std::string& line : BlockLines(server.LastRequest()))
            if (AsciiLower(line).rfind("cookie", 0) == 0) cookie_lines.push_back(line);
        EXPECT_EQ(cookie_lines, c.cookie_lines);
    }
}

TEST(WinHttpRequestWire, TheProcessCookieStoreIsNeitherReadNorWritten) {
    CaptureServer seed(CannedReply("200 OK", "Set-Cookie: store_seed=1; Path=/\r\n", "ok"));
    WebRequest(seed.Url("/"));  // the other engine keeps this one in the store
    CaptureServer server({CannedReply("200 OK", "Set-Cookie: winhttp_only=1; Path=/\r\n", "ok"),
                          CannedReply("200 OK", "", "ok")});
    for (bool caller_cookies : {false, true}) {
        SCOPED_TRACE(caller_cookies);
        WinHttpRequestParams p;
        p.url = server.Url("/");
        std::string in = caller_cookies ? "mine=1" : "";
        p.cookies_in = &in;
        WinHttpRequest(p);
        Lines cookie_lines;
        for (const std::string& line : BlockLines(server.LastRequest()))
            if (line.rfind("Cookie", 0) == 0) cookie_lines.push_back(line);
        EXPECT_EQ(cookie_lines, caller_cookies ? Lines{"Cookie: mine=1"} : Lines{});
    }
    WebRequest(server.Url("/"));
    EXPECT_EQ(server.LastRequest().find("winhttp_only"), std::string::npos);
}

TEST(WinHttpRequestWire, AReplyWithoutAHeaderBlockLeavesEveryResultAsItWas) {
    // Bytes without a status line: the body reads fine, the header block is missing.
    CaptureServer server(std::string("no headers here"));
    WinHttpRequestParams p;
    p.url = server.Url("/");
    std::string status = "before", location = "L", headers = "H", cookies = "c=1";
    ByteArray bytes = ToBytes("kept");
    p.status = &status;
    p.location = &location;
    p.reply_headers = &headers;
    p.cookies_out = &cookies;
    p.reply_bytes = &bytes;
    const WinHttpReply reply = WinHttpRequest(p);
    EXPECT_FALSE(reply.Ok());
    EXPECT_EQ(reply.text, "");
    EXPECT_EQ(BytesToString(bytes), "kept");
    EXPECT_EQ(status, "before");
    EXPECT_EQ(location, "L");
    EXPECT_EQ(headers, "H");
    EXPECT_EQ(cookies, "c=1");
}

}  // namespace
