#include "net/WinHttpRequest.h"

#include <curl/curl.h>
#include <unistd.h>

#include <array>
#include <cstring>
#include <memory>
#include <optional>

#include "net/Cookies.h"
#include "net/CurlShare.h"
#include "net/CurlTransfer.h"
#include "net/EasyLease.h"
#include "net/Gbk.h"
#include "net/HeaderListLease.h"
#include "net/PageText.h"
#include "net/PhaseTimeout.h"
#include "net/Text.h"
#include "net/WinHttpHeaders.h"
#include "net/WinHttpStatus.h"

namespace vpsdesk::net {
namespace {

constexpr long kMaxRedirects = 10;

std::string UrlPart(CURLU* url, CURLUPart part, unsigned flags = 0) {
    char* text = nullptr;
    if (curl_url_get(url, part, &text, flags) != CURLUE_OK) return {};
    std::string out(text);
    curl_free(text);
    return out;
}

// The URL as libcurl takes it, or empty when it has no http(s) scheme, no host or no
// usable port. Non-ASCII (GBK) bytes and spaces in it are percent-encoded.
std::string CurlUrl(const std::string& url_gbk, bool& secure) {
    UrlHandle u(curl_url());
    if (!u || curl_url_set(u.get(), CURLUPART_URL, EncodePath(url_gbk).c_str(),
                           CURLU_NON_SUPPORT_SCHEME) != CURLUE_OK)
        return {};
    const std::string scheme = AsciiLower(UrlPart(u.get(), CURLUPART_SCHEME));
    if (scheme != "http" && scheme != "https") return {};
    if (UrlPart(u.get(), CURLUPART_HOST).empty()) return {};
    secure = scheme == "https";
    curl_url_set(u.get(), CURLUPART_FRAGMENT, nullptr, 0);
    return UrlPart(u.get(), CURLUPART_URL);
}

bool ProxyIsUsable(const std::string& proxy_gbk) {
    UrlHandle u(curl_url());
    return u &&
           curl_url_set(u.get(), CURLUPART_URL, ("http://" + proxy_gbk).c_str(), 0) == CURLUE_OK &&
           !UrlPart(u.get(), CURLUPART_HOST).empty();
}

bool FindHttpSupport() {
    const curl_version_info_data* info = curl_version_info(CURLVERSION_NOW);
    if (!info || !info->protocols) return false;
    bool http = false;
    bool https = false;
    for (const char* const* p = info->protocols; *p; ++p) {
        http = http || std::strcmp(*p, "http") == 0;
        https = https || std::strcmp(*p, "https") == 0;
    }
    return http && https;
}

// Asked once: libcurl builds its version report afresh on every call.
bool SupportsHttp() {
    static const bool supported = FindHttpSupport();
    return supported;
}

// Basic credentials carry "user:password": a user with a colon, or a line break or zero
// byte in either half, cannot be sent as given.
bool CanCarryCredentials(const std::string& user, const std::string& password) {
    constexpr std::string_view kBreaks("\r\n\0", 3);
    return user.find(':') == std::string::npos &&
           user.find_first_of(kBreaks) == std::string::npos &&
           password.find_first_of(kBreaks) == std::string::npos;
}

// Which status a transfer that libcurl ended with `result` reports.
WinHttpFailure FailureOf(CURL* easy, CURLcode result, const Transfer& transfer) {
    if (transfer.HeadersComplete()) return WinHttpFailure::Read;
    if (transfer.saw_response) return WinHttpFailure::NoResponse;
    curl_off_t pretransfer = 0;
    curl_easy_getinfo(easy, CURLINFO_PRETRANSFER_TIME_T, &pretransfer);
    // The connection (and its TLS handshake) was made: the request went out and nothing
    // came back in time, or the connection closed without a word.
    const bool sent =
        pretransfer > 0 && result != CURLE_SEND_ERROR && ErrorKind(result, false) != WebError::Tls;
    return sent ? WinHttpFailure::NoResponse : WinHttpFailure::Send;
}

struct Outcome {
    std::optional<WinHttpFailure> failure;
    WebError error = WebError::None;
};

Outcome Fail(WinHttpFailure failure, WebError error = WebError::Connect) {
    return {failure, error};
}

struct Prepared {
    std::string curl_url;
    bool secure = false;
    std::string block_gbk;
    std::string payload;
    std::string proxy_gbk;
    std::chrono::milliseconds timeout{0};
    TlsSettings tls;
};

Outcome Prepare(const WinHttpRequestParams& p, Prepared& r) {
    if (!SupportsHttp()) return Fail(WinHttpFailure::Unsupported);
    r.curl_url = CurlUrl(Utf8ToGbk(p.url), r.secure);
    if (r.curl_url.empty()) return Fail(WinHttpFailure::BadUrl);
    r.proxy_gbk = Utf8ToGbk(p.proxy);
    if (!r.proxy_gbk.empty() && !ProxyIsUsable(r.proxy_gbk)) return Fail(WinHttpFailure::Session);
    const std::optional<std::chrono::milliseconds> timeout = PhaseTimeout(p.timeout_seconds);
    if (!timeout) return Fail(WinHttpFailure::Timeouts);
    r.timeout = *timeout;
    const bool server_auth = !p.user.empty() && !p.password.empty();
    const bool proxy_auth = !p.proxy_user.empty() && !p.proxy_password.empty();
    if ((server_auth && !CanCarryCredentials(p.user, p.password)) ||
        (proxy_auth && !CanCarryCredentials(p.proxy_user, p.proxy_password)))
        return Fail(WinHttpFailure::Credentials);
    r.tls = CurlShare::Instance().Tls();
    if (r.secure && !r.tls.ca_file.empty() && ::access(r.tls.ca_file.c_str(), R_OK) != 0)
        return Fail(WinHttpFailure::Certificates, WebError::Tls);
    const std::string block = WinHttpHeaderBlock(p);
    if (!IsSendableHeaderBlock(block)) return Fail(WinHttpFailure::Headers);
    r.block_gbk = Utf8ToGbk(block);
    r.payload = p.body_bytes.empty() ? Utf8ToGbk(p.body) : BytesToString(p.body_bytes);
    return {};
}

// Sets the handle up for `p`; a refused setting fails as its step does.
Outcome Configure(CURL* easy, const WinHttpRequestParams& p, const Prepared& r,
                  const CurlHeaders& headers, Transfer& transfer) {
    // DNS and TLS sessions are shared with the other engine; cookies are not (see below).
    curl_easy_setopt(easy, CURLOPT_SHARE, CurlShare::Instance().Handle());
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_QUICK_EXIT, 1L);
    const std::string proxy = r.proxy_gbk.empty() ? std::string() : "http://" + r.proxy_gbk;
    curl_easy_setopt(easy, CURLOPT_PROXY, proxy.c_str());  // "" also ignores *_proxy variables
    curl_easy_setopt(easy, CURLOPT_NOPROXY, "");
    curl_easy_setopt(easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
    if (!r.proxy_gbk.empty() && !p.proxy_user.empty() && !p.proxy_password.empty()) {
        const std::string user = Utf8ToGbk(p.proxy_user);
        const std::string password = Utf8ToGbk(p.proxy_password);
        if (curl_easy_setopt(easy, CURLOPT_PROXYAUTH, static_cast<long>(CURLAUTH_BASIC)) ||
            curl_easy_setopt(easy, CURLOPT_PROXYUSERNAME, user.c_str()) ||
            curl_easy_setopt(easy, CURLOPT_PROXYPASSWORD, password.c_str()))
            return Fail(WinHttpFailure::Credentials);
    }

    const long timeout_ms = static_cast<long>(r.timeout.count());
    if (curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, timeout_ms) ||
        curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L) ||
        curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, timeout_ms / 1000))
        return Fail(WinHttpFailure::Timeouts);

    if (curl_easy_setopt(easy, CURLOPT_URL, r.curl_url.c_str()) ||
        curl_easy_setopt(easy, CURLOPT_PATH_AS_IS, 1L) ||
        curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https") ||
        curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https") ||
        curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1)) ||
        // A reply without a header block is read, then found to have no headers.
        curl_easy_setopt(easy, CURLOPT_HTTP09_ALLOWED, 1L))
        return Fail(WinHttpFailure::Request);
    CURLcode verb_set = CURLE_OK;
    if (p.method == HttpVerb::Head) {
        verb_set = curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);  // a HEAD reply has no body
    } else if (p.method == HttpVerb::Get && r.payload.empty()) {
        verb_set = curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    } else {
        curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE,
                         static_cast<curl_off_t>(r.payload.size()));
        verb_set = curl_easy_setopt(easy, CURLOPT_POSTFIELDS, r.payload.c_str());
        if (!verb_set && p.method != HttpVerb::Post)
            verb_set = curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, VerbName(p.method));
    }
    if (verb_set) return Fail(WinHttpFailure::Request);

    if (!p.user.empty() && !p.password.empty()) {
        const std::string user = Utf8ToGbk(p.user);
        const std::string password = Utf8ToGbk(p.password);
        if (curl_easy_setopt(easy, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC)) ||
            curl_easy_setopt(easy, CURLOPT_USERNAME, user.c_str()) ||
            curl_easy_setopt(easy, CURLOPT_PASSWORD, password.c_str()))
            return Fail(WinHttpFailure::Credentials);
    }

    SetTlsTrust(easy, r.tls);

    // The engine never keeps cookies of its own, whether or not the caller gives a cookie
    // text: the caller's text is the only Cookie line sent, and the reply's cookies go
    // back to the caller through `cookies_out`. Using the process-wide store as well
    // would send cookies the caller did not give (next to its own Cookie line) and keep
    // the reply's cookies where the other engine would replay them to the platform.
    if (curl_easy_setopt(easy, CURLOPT_COOKIEFILE, nullptr)) return Fail(WinHttpFailure::Cookies);
    if (curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, p.no_redirect ? 0L : 1L) ||
        curl_easy_setopt(easy, CURLOPT_MAXREDIRS, kMaxRedirects))
        return Fail(WinHttpFailure::Redirects);

    curl_easy_setopt(easy, CURLOPT_USERAGENT, headers.agent.c_str());
    if (curl_easy_setopt(easy, CURLOPT_HTTPHEADER, headers.list.get()))
        return Fail(WinHttpFailure::Headers);
    transfer.stall = r.timeout;
    CaptureTransfer(easy, transfer);
    return {};
}

// The Location value of the block's last "Location: " line.
std::string LocationOf(const std::string& reply_headers) {
    std::string location;
    constexpr std::string_view kPrefix = "Location: ";
    for (const std::string& line : SplitText(reply_headers, "\r\n"))
        if (StartsWithText(line, kPrefix, true)) location = line.substr(kPrefix.size());
    return location;
}

// `collected` appended to `held`, the two kept apart by "; ".
std::string AppendCookies(std::string held, const std::string& collected) {
    if (!held.empty() && !collected.empty()) {
        if (EndsWithText(held, ";"))
            held += ' ';
        else if (!EndsWithText(held, "; "))
            held += "; ";
    }
    held += collected;
    if (EndsWithText(held, "; ")) held.resize(held.size() - 2);
    return held;
}

void Deliver(const WinHttpRequestParams& p, Transfer& transfer, WinHttpReply& reply) {
    const std::string headers = GbkToUtf8(transfer.headers);
    if (p.reply_headers) *p.reply_headers = headers;
    if (p.status) {
        const size_t end = headers.find("\r\n", 9);
        *p.status = headers.size() > 9
                        ? headers.substr(9, end == std::string::npos ? std::string::npos : end - 9)
                        : std::string();
    }
    std::string cookies =
        AppendCookies(p.cookies_out ? *p.cookies_out : std::string(), CollectReplyCookies(headers));
    if (p.merge_cookies && p.cookies_in && !p.cookies_in->empty())
        cookies = CookieMerge(*p.cookies_in, cookies);
    if (p.cookies_out) *p.cookies_out = cookies;
    if (p.location) *p.location = LocationOf(headers);
    reply.text = PageText(transfer.body);
    if (p.reply_bytes) *p.reply_bytes = std::move(transfer.body);
}

}  // namespace

WinHttpReply WinHttpRequest(const WinHttpRequestParams& params) {
    WinHttpReply reply;
    const auto fail = [&](const Outcome& o) {
        reply.error = o.error;
        if (params.status) *params.status = WinHttpStatusText(*o.failure);
        return reply;
    };

    Prepared r;
    if (Outcome o = Prepare(params, r); o.failure) return fail(o);

    EasyLease lease;
    CURL* easy = lease.Easy();
    if (!easy) return fail(Fail(WinHttpFailure::Session));
    CURLM* connections = lease.Connections();
    if (!connections) return fail(Fail(WinHttpFailure::Connection));

    // The block's verb decides only whether libcurl's own Content-Type is held back.
    const HttpVerb list_verb =
        !r.payload.empty() || params.method != HttpVerb::Get ? HttpVerb::Post : HttpVerb::Get;
    const HeaderListLease headers(r.block_gbk, "", list_verb, false);
    if (CarriesHostLine(headers.Get().list.get())) lease.Discard();
    Transfer transfer;
    if (Outcome o = Configure(easy, params, r, headers.Get(), transfer); o.failure) return fail(o);

    const CURLcode result = Perform(easy, connections, transfer);
    if (result != CURLE_OK) {
        Outcome o = Fail(FailureOf(easy, result, transfer));
        o.error = ErrorKind(result, transfer.saw_response);
        return fail(o);
    }
    if (!transfer.HeadersComplete()) {
        // No header block to read: nothing is handed back, as if the reply never came.
        reply.error = WebError::CutShort;
        return reply;
    }
    Deliver(params, transfer, reply);
    return reply;
}

}  // namespace vpsdesk::net
