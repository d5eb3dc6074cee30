#pragma once
// The one synchronous HTTP(S) request of the client. Texts are UTF-8 here and GBK on the
// wire; cookies live in a process-wide store unless the caller keeps them itself.
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "net/ByteArray.h"

namespace vpsdesk::net {

enum class HttpVerb { Get, Post, Head, Put, Options, Delete, Trace, Connect };

// Every member that is not given takes its documented default; `cookies_in` given as
// empty text differs from not given (the request then bypasses the cookie store).
struct WebRequestOptions {
    HttpVerb verb = HttpVerb::Get;
    // Request body text (sent as GBK) for every verb but GET.
    std::optional<std::string> body;
    // Raw body bytes, sent as they are instead of `body`.
    std::optional<ByteArray> body_bytes;
    // A cookie text "a=1; b=2" (or a ready "Cookie: ..." line) to send instead of the
    // store's cookies; the store is neither read nor written for this request.
    std::optional<std::string> cookies_in;
    // Extra request header lines separated by "\r\n".
    std::optional<std::string> headers;
    std::optional<bool> no_redirect;  // default false
    // "host:port"; empty or not given means a direct connection.
    std::optional<std::string> proxy;
    // default true: the reply's cookies are merged with `cookies_in` when that is given
    std::optional<bool> merge_cookies;
    std::optional<bool>
        default_headers;  // default true: Accept, Referer, Accept-Language, Content-Type
    std::optional<bool> normalize_headers;  // default true: tidy the caller's header names
    std::optional<bool> socks_proxy;        // default false: `proxy` is a SOCKS4 proxy
};

// Why a request failed. The kinds tell a network failure apart from a platform that
// answered: any status, 404 and 500 included, is a reply with `None`.
enum class WebError {
    None,
    TimedOut,   // nothing came within the connect or stall limit, before any reply began
    Connect,    // no reply could be asked for: refused, unknown host, unusable URL or proxy
                // (also any failure libcurl gives no better kind for, before a reply began)
    Tls,        // the handshake failed or the certificate was refused
    Cancelled,  // CancelAllRequests ended it, or had run before it started
    CutShort,   // the connection broke off where a reply was due or under way
};

// What a request brought back. `body` is the reply body whole, or empty on every failure
// (never a truncated body). `status`, `headers` and `cookies` describe the final response
// and are filled on success and on `CutShort` once that response began; on every other
// failure they stay empty (status 0).
struct WebReply {
    ByteArray body;
    int status = 0;
    WebError error = WebError::None;
    // The status line and header lines, each ending "\r\n", and the empty line that ends
    // them (UTF-8).
    std::string headers;
    // The cookies the reply sets, "a=1; b=2"; merged with `cookies_in` when that is given
    // and `merge_cookies` is on.
    std::string cookies;

    bool Ok() const { return error == WebError::None; }
};

// One request. Callers that treat a failure as empty text read `WebRequest(url).body`.
WebReply WebRequest(std::string_view url, const WebRequestOptions& options = {});

struct TlsSettings {
    // A PEM file of extra trusted certificates (a deployment CA); the system store in
    // /etc/ssl/certs is trusted as well.
    std::string ca_file;
    // False accepts any certificate: only for a platform with a broken certificate.
    bool verify = true;
};

// Applies to requests started afterwards, on any thread.
void SetTlsSettings(const TlsSettings& settings);

// How long a request may wait before it counts as failed. A connection (TCP, proxy
// tunnel and TLS handshake) not made within `connect` fails; a transfer, the wait for the
// reply included, that moves less than one byte a second for `stall` (whole seconds,
// at least one) fails. There is no limit on the total time, so a long download that
// keeps moving is never cut off.
struct RequestLimits {
    std::chrono::milliseconds connect{15'000};
    std::chrono::milliseconds stall{30'000};
};

// Applies to requests started afterwards, on any thread.
void SetRequestLimits(const RequestLimits& limits);
RequestLimits CurrentRequestLimits();

// For process exit: requests in progress end as soon as possible and every later request
// fails at once as `Cancelled`. There is no way back. Async-signal-safe once any request
// has been made or `PrepareCancelFromSignals` has run.
void CancelAllRequests();

// Sets up the shared request state so that `CancelAllRequests` may be called from a
// signal handler.
void PrepareCancelFromSignals();

}  // namespace vpsdesk::net
