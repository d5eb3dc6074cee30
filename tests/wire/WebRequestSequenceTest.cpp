// Requests made one after another on one thread: whatever an earlier request asked for or
// ran into, the next one goes out exactly as it would from a thread of its own.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>

#include "CaptureServer.h"
#include "net/WebRequest.h"

using namespace vpsdesk::net;
using wiretest::CannedReply;
using wiretest::CaptureServer;

namespace {

struct Earlier {
    const char* what;
    std::function<void(const CaptureServer& server)> request;
};

WebRequestOptions With(const std::function<void(WebRequestOptions&)>& set) {
    WebRequestOptions o;
    set(o);
    return o;
}

TEST(WebRequestSequence, ALaterRequestCarriesNothingOverFromAnEarlierOne) {
    // The store holds a cookie for the probe's host, so the probe shows whether the store
    // is still consulted, and for which host.
    CaptureServer seed(CannedReply("200 OK", "Set-Cookie: sequence_seed=1; Path=/\r\n", "ok"));
    WebRequest(seed.Url("/seed"));

    CaptureServer probe;
    auto probe_request = [&probe] {
        const std::string body = BytesToString(WebRequest(probe.Url("/probe")).body);
        return body + "|" + probe.LastRequest();
    };
    std::string alone;
    std::thread([&] { alone = probe_request(); }).join();
    ASSERT_NE(alone.find("Cookie: sequence_seed=1"), std::string::npos) << alone;

    const Earlier cases[] = {
        {"its own cookies",
         [](const CaptureServer& s) {
             WebRequest(s.Url("/own"), With([](WebRequestOptions& o) { o.cookies_in = "own=1"; }));
         }},
        {"a Host line of its own",
         [](const CaptureServer& s) {
             WebRequest(s.Url("/host"),
                        With([](WebRequestOptions& o) { o.headers = "Host: elsewhere.test"; }));
         }},
        {"a POST with a body",
         [](const CaptureServer& s) {
             WebRequest(s.Url("/post"), With([](WebRequestOptions& o) {
                            o.verb = HttpVerb::Post;
                            o.body = "a=1";
                            o.headers = "X-Extra: 1";
                        }));
         }},
        {"a HEAD",
         [](const CaptureServer& s) {
             WebRequest(s.Url("/head"),
                        With([](WebRequestOptions& o) { o.verb = HttpVerb::Head; }));
         }},
        {"a proxy",
         [](const CaptureServer& s) {
             WebRequest("http://example.invalid/p", With([&s](WebRequestOptions& o) {
                            o.proxy = "127.0.0.1:" + std::to_string(s.Port());
                        }));
         }},
        {"no redirects and a custom agent",
         [](const CaptureServer& s) {
             WebRequest(s.Url("/r"), With([](WebRequestOptions& o) {
                            o.no_redirect = true;
                            o.headers = "User-Agent: other";
                        }));
         }},
        {"a refused connection",
         [](const CaptureServer&) { WebRequest(wiretest::IdlePort(false).Url()); }},
    };
    for (const Earlier& earlier : cases) {
        SCOPED_TRACE(earlier.what);
        CaptureServer other;
        std::string after;
        std::thread([&] {
            earlier.request(other);
            after = probe_request();
        }).join();
        EXPECT_EQ(after, alone);
    }
}

TEST(WebRequestSequence, AReplyCutShortLeavesTheNextRequestWhole) {
    CaptureServer cut("HTTP/1.1 200 OK\r\nContent-Length: 100\r\nConnection: close\r\n\r\npart");
    CaptureServer whole(CannedReply("200 OK", "", "whole"));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(WebRequest(cut.Url("/cut")).error, WebError::CutShort);
        EXPECT_EQ(BytesToString(WebRequest(whole.Url("/whole")).body), "whole");
    }
}

}  // namespace
