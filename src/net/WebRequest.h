#pragma once
// The one synchronous HTTP(S) request of the client. Texts are UTF-8 here and GBK on the
// wire; cookies live in a process-wide store unless the caller keeps them itself.
#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "net/ByteArray.h"

namespace vpsdesk::net {

// Every member that is not given takes its documented default; `cookies_in` given as
// empty text differs from not given (the request then bypasses the cookie store).
struct WebRequestOptions {
    // 0 GET, 1 POST, 2 HEAD, 3 PUT, 4 OPTIONS, 5 DELETE, 6 TRACE, 7 CONNECT; other codes
    // GET. Default 0.
    std::optional<int> method;
    // Request body text (sent as GBK) for every verb but GET.
    std::optional<std::string> body;
    // A cookie text "a=1; b=2" (or a ready "Cookie: ..." line) to send instead of the
    // store's cookies; the store is neither read nor written for this request.
    std::optional<std::string> cookies_in;
    // Receives the cookies the reply sets (merged with `cookies_in` when that is given
    // and `merge_cookies` is on).
    std::string* cookies_out = nullptr;
    // Extra request header lines separated by "\r\n".
    std::optional<std::string> headers;
    // Receives the final reply's status line and header lines, each ending "\r\n", and
    // the empty line that ends them.
    std::string* reply_headers = nullptr;
    std::optional<bool> no_redirect;  // default false
    // Raw body bytes, taking precedence over `body`. Given empty for a verb with a body,
    // it receives the GBK bytes of `body`.
    ByteArray* body_bytes = nullptr;
    // "host:port"; empty or not given means a direct connection.
    std::optional<std::string> proxy;
    std::optional<bool> merge_cookies;  // default true
    std::optional<bool>
        default_headers;  // default true: Accept, Referer, Accept-Language, Content-Type
    std::optional<bool> normalize_headers;  // default true: tidy the caller's header names
    std::optional<bool> socks_proxy;        // default false: `proxy` is a SOCKS4 proxy
};

// The reply body, whole. Empty when the request could not be made; `cookies_out` and
// `reply_headers` are then left as they were. A transfer that breaks off after the reply
// began also gives an empty body (never a truncated one), but fills both.
ByteArray WebRequest(std::string_view url, const WebRequestOptions& options = {});

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
// returns an empty reply at once. There is no way back. Async-signal-safe once any request
// has been made or `PrepareCancelFromSignals` has run. requests in progress end as soon as possible
// and every later request returns an empty reply at once. There is no way back.
void CancelAllRequests();

// Sets up the shared request state so that `CancelAllRequests` may be called from a
// signal handler.
void PrepareCancelFromSignals();

}  // namespace vpsdesk::net
