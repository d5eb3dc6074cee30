#include <gtest/gtest.h>

#include "net/HeaderNames.h"
#include "net/Url.h"

using namespace vpsdesk::net;

TEST(Url, SecureUrlWithMixedCaseHostPortAndQuery) {
    const char* url = "HTTPS://Api.Example.COM:8443/a/B?x=1";
    EXPECT_EQ(UrlHost(url), "api.example.com");
    EXPECT_EQ(UrlHost(url, true), "api.example.com:8443");
    EXPECT_EQ(UrlPort(url), 8443);
    EXPECT_EQ(UrlPath(url), "/a/B?x=1");  // the path keeps its own letter case
    EXPECT_TRUE(IsSecureUrl(url));
}

TEST(Url, DefaultsForPortAndPath) {
    EXPECT_EQ(UrlPath("http://example.com"), "/");
    EXPECT_EQ(UrlPort("http://example.com"), 80);
    EXPECT_EQ(UrlPort("https://example.com/x"), 443);
    EXPECT_FALSE(IsSecureUrl("http://example.com"));
}

TEST(Url, WithoutSchemeIsPlainHttp) {
    EXPECT_EQ(UrlHost("host/x"), "host");
    EXPECT_EQ(UrlPort("host/x"), 80);
    EXPECT_EQ(UrlPath("host/x"), "/x");
    EXPECT_FALSE(IsSecureUrl("host/x"));
    EXPECT_EQ(UrlHost("host:8080"), "host");
    EXPECT_EQ(UrlPort("host:8080"), 8080);
}

TEST(Url, OnlyALeadingSchemeDecidesHostAndPort) {
    // An address in the query names no host of this request.
    EXPECT_EQ(UrlHost("host/login?next=http://other/"), "host");
    EXPECT_EQ(UrlPath("host/login?next=http://other/"), "/login?next=http://other/");
    // A host that also occurs in the scheme is found after it.
    EXPECT_EQ(UrlPath("http://h/x"), "/x");
    EXPECT_EQ(UrlPath("https://s:81/y"), "/y");
    // A plain host that merely begins with "https" keeps the HTTP port.
    EXPECT_EQ(UrlPort("https.example.com/x"), 80);
}

TEST(Url, PortThatCannotBeConnectedToIsZero) {
    EXPECT_EQ(UrlPort("http://h:99999/"), 0);
    EXPECT_EQ(UrlPort("http://h:abc/"), 0);
}

TEST(HeaderNames, CapitalisesEachDashSeparatedPiece) {
    EXPECT_EQ(NormalizeHeaderNames("content-type: text/plain"), "Content-Type: text/plain");
    EXPECT_EQ(NormalizeHeaderNames("x-requested-with: XMLHttpRequest"),
              "X-Requested-With: XMLHttpRequest");
    EXPECT_EQ(NormalizeHeaderNames("cOOKIE: a=1"), "COOKIE: a=1");
    EXPECT_EQ(NormalizeHeaderNames("x-: 1\r\na--b: 2\r\n1a-b: 3"), "X-: 1\r\nA--B: 2\r\n1a-B: 3");
}

TEST(HeaderNames, ValuesStayUntouchedAndLinesWithoutColonGo) {
    EXPECT_EQ(NormalizeHeaderNames("accept:  text/html; q=1\r\nno colon\r\n\r\nx-a:b:c"),
              "Accept:  text/html; q=1\r\nX-A:b:c");
    EXPECT_EQ(NormalizeHeaderNames("a: 1\r\n"), "A: 1");
    EXPECT_EQ(NormalizeHeaderNames("nothing usable\r\n"), "");
    EXPECT_EQ(NormalizeHeaderNames(""), "");
}
