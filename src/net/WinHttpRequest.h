#pragma once
// The second synchronous request: unlike WebRequest it reports a status text for every
// failure, hands back the status line, the Location header and the raw reply separately,
// has a time-out of its own, sends basic credentials to the server and the proxy, and
// decodes a page by the character set it declares. It keeps no state between calls and
// never uses the process-wide cookie store. Texts are UTF-8 here and GBK on the wire.
#include <string>

#include "net/ByteArray.h"
#include "net/WebRequest.h"

namespace vpsdesk::net {

// The request and where its results go. A result pointer left null is discarded; on a
// failure only `status` is written and every other result keeps what it held.
struct WinHttpRequestParams {
    std::string url;
    HttpVerb method = HttpVerb::Get;
    std::string body;  // sent as GBK, for every verb, when `body_bytes` is empty
    // The caller's cookie text ("a=1; b=2" or a ready "Cookie: ..." line); left trimmed
    // by the merge.
    std::string* cookies_in = nullptr;
    // The reply's cookies are appended to what it holds.
    std::string* cookies_out = nullptr;
    std::string headers;                   // extra header lines, "\r\n"-separated
    std::string* reply_headers = nullptr;  // the final reply's status line and header lines
    bool no_redirect = false;
    // Basic credentials, sent only when both halves are given.
    std::string user;
    std::string password;
    std::string proxy;  // "host:port" of an HTTP proxy; empty for a direct connection
    std::string proxy_user;
    std::string proxy_password;
    // For each phase (resolve and connect, sending, each wait for reply bytes); 0 or less
    // means 30 seconds.
    long long timeout_seconds = 0;
    std::string* location = nullptr;  // the reply's Location value
    // The status line from its tenth character ("200 OK"), or the failure's text.
    std::string* status = nullptr;
    ByteArray* reply_bytes = nullptr;  // the reply body as read
    bool merge_cookies = true;         // merge `cookies_in` into `cookies_out`
    bool default_headers = true;       // add the default lines the block lacks
    ByteArray body_bytes;              // sent as they are, in place of `body`
    bool normalize_headers = true;     // tidy the header names
};

struct WinHttpReply {
    // The reply as page text (see PageText); empty on every failure.
    std::string text;
    WebError error = WebError::None;

    bool Ok() const { return error == WebError::None; }
};

WinHttpReply WinHttpRequest(const WinHttpRequestParams& params);

}  // namespace vpsdesk::net
