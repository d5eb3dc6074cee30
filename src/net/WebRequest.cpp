#include "net/WebRequest.h"

#include <curl/curl.h>

#include <algorithm>
#include <array>
#include <memory>
#include <new>
#include <vector>

#include "net/Cookies.h"
#include "net/CurlShare.h"
#include "net/CurlTransfer.h"
#include "net/EasyLease.h"
#include "net/Gbk.h"
#include "net/HeaderListLease.h"
#include "net/RequestHeaders.h"
#include "net/Text.h"
#include "net/Url.h"

namespace vpsdesk::net {
namespace {

constexpr long kMaxRedirects = 20;

bool IsUsableHost(std::string_view host) {
    if (host.empty()) return false;
    for (char ch : host) {
        auto c = static_cast<unsigned char>(ch);
        if (c <= 0x20 || c == 0x7F ||
            std::string_view("/?#@[]\\").find(ch) != std::string_view::npos)
            return false;
    }
    return true;
}

struct Attempt {
    CURLcode result = CURLE_FAILED_INIT;
    Transfer transfer;
};

struct Request {
    std::string curl_url;
    HttpVerb verb = HttpVerb::Get;
    const CurlHeaders* headers = nullptr;
    const char* payload = "";
    size_t payload_size = 0;
    bool follow = true;
    bool use_store = true;
    std::string proxy;
    TlsSettings tls;
    RequestLimits limits;
};

Attempt Send(const Request& r) {
    Attempt a;
    a.transfer.head_request = r.verb == HttpVerb::Head;
    EasyLease lease;
    CURL* easy = lease.Easy();
    if (!easy) return a;
    if (CarriesHostLine(r.headers->list.get())) lease.Discard();

    // Set again after every reset: attaching is what points the handle's TLS sessions and
    // cookies at the shared ones.
    curl_easy_setopt(easy, CURLOPT_SHARE, CurlShare::Instance().Handle());
    curl_easy_setopt(easy, CURLOPT_URL, r.curl_url.c_str());
    curl_easy_setopt(easy, CURLOPT_PATH_AS_IS, 1L);
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_QUICK_EXIT, 1L);
    curl_easy_setopt(easy, CURLOPT_USERAGENT, r.headers->agent.c_str());
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, r.headers->list.get());

    if (r.verb == HttpVerb::Get) {
        curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    } else {
        // A plain POST lets libcurl turn it into GET on 301/302/303, as browsers do.
        if (r.verb == HttpVerb::Post) curl_easy_setopt(easy, CURLOPT_POST, 1L);
        curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE,
                         static_cast<curl_off_t>(r.payload_size));
        curl_easy_setopt(easy, CURLOPT_POSTFIELDS, r.payload);
        if (r.verb != HttpVerb::Post)
            curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, VerbName(r.verb));
    }
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, r.follow ? 1L : 0L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, kMaxRedirects);
    // The store is switched on per request; without "" the shared store is not used. The
    // switch outlives curl_easy_reset, so a request without the store turns it off.
    curl_easy_setopt(easy, CURLOPT_COOKIEFILE, r.use_store ? "" : nullptr);

    curl_easy_setopt(easy, CURLOPT_PROXY, r.proxy.c_str());  // "" also ignores *_proxy variables
    curl_easy_setopt(easy, CURLOPT_NOPROXY, "");
    curl_easy_setopt(easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);

    SetTlsTrust(easy, r.tls);

    // A platform that accepts the connection and never answers must not hold the caller.
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(r.limits.connect.count()));
    const long stall_seconds =
        std::max<long>(1, static_cast<long>((r.limits.stall.count() + 999) / 1000));
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, stall_seconds);

    a.transfer.stall = r.limits.stall;
    CaptureTransfer(easy, a.transfer);

    a.result = Perform(easy, lease.Connections(), a.transfer);
    if (a.transfer.ended_at_head && a.result == CURLE_WRITE_ERROR) a.result = CURLE_OK;
    return a;
}

bool IsRedirect(long status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// The absolute URL `location` points to from `base`, or empty.
std::string ResolveLocation(const std::string& base, const std::string& location) {
    UrlHandle u(curl_url());
    if (!u || curl_url_set(u.get(), CURLUPART_URL, base.c_str(), 0) != CURLUE_OK ||
        curl_url_set(u.get(), CURLUPART_URL, EncodePath(location).c_str(), 0) != CURLUE_OK)
        return {};
    char* joined = nullptr;
    if (curl_url_get(u.get(), CURLUPART_URL, &joined, 0) != CURLUE_OK) return {};
    std::string out(joined);
    curl_free(joined);
    return out;
}

std::string Origin(const std::string& url) {
    UrlHandle u(curl_url());
    if (!u || curl_url_set(u.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK) return {};
    std::string out;
    for (CURLUPart p : {CURLUPART_SCHEME, CURLUPART_HOST, CURLUPART_PORT}) {
        char* part = nullptr;
        if (curl_url_get(u.get(), p, &part, CURLU_DEFAULT_PORT) == CURLUE_OK) {
            out.append(part).append("|");
            curl_free(part);
        }
    }
    return out;
}

}  // namespace

WebReply WebRequest(std::string_view url, const WebRequestOptions& options) {
    WebReply reply;
    CurlShare& shared = CurlShare::Instance();
    if (shared.Cancelled()) {
        reply.error = WebError::Cancelled;
        return reply;
    }
    reply.error = WebError::Connect;

    const HttpVerb verb = options.verb;
    const bool no_redirect = options.no_redirect.value_or(false);

    RequestHeaders built = BuildHeaders(url, verb, options);
    const std::string block_gbk = Utf8ToGbk(built.block);
    const std::string agent_gbk = Utf8ToGbk(built.agent);

    Request r;
    r.verb = verb;
    std::string body_gbk;
    if (verb != HttpVerb::Get) {
        if (options.body_bytes) {
            r.payload = reinterpret_cast<const char*>(options.body_bytes->data());
            r.payload_size = options.body_bytes->size();
        } else {
            body_gbk = Utf8ToGbk(options.body.value_or(""));
            r.payload = body_gbk.c_str();
            r.payload_size = body_gbk.size();
        }
    }

    const UrlParts parts = SplitUrl(url);
    if (!IsUsableHost(parts.host)) return reply;
    r.curl_url = (parts.secure ? "https://" : "http://") + parts.host + ":" +
                 std::to_string(parts.port) + EncodePath(Utf8ToGbk(parts.path));
    // HEAD redirects are followed here, not by libcurl (see OnHeader).
    r.follow = !no_redirect && verb != HttpVerb::Head;
    r.use_store = !options.cookies_in.has_value();
    const std::string proxy = options.proxy.value_or("");
    if (!proxy.empty())
        r.proxy = (options.socks_proxy.value_or(false) ? "socks4://" : "http://") + proxy;
    r.tls = shared.Tls();
    r.limits = shared.Limits();

    const HeaderListLease headers(block_gbk, agent_gbk, verb, false);
    r.headers = &headers.Get();
    Attempt a = Send(r);
    CurlHeaders cross_origin_headers;
    const std::string first_origin = verb == HttpVerb::Head ? Origin(r.curl_url) : std::string();
    for (long hops = 0;
         verb == HttpVerb::Head && !no_redirect && a.result == CURLE_OK && hops < kMaxRedirects &&
         IsRedirect(a.transfer.status) && !a.transfer.location.empty();
         ++hops) {
        std::string next = ResolveLocation(r.curl_url, a.transfer.location);
        if (next.empty()) break;
        r.curl_url = next;
        if (Origin(next) != first_origin && !cross_origin_headers.list) {
            // Credentials meant for the first host are not handed to another one.
            cross_origin_headers = ToCurlHeaders(block_gbk, agent_gbk, verb, true);
            r.headers = &cross_origin_headers;
        }
        a = Send(r);
    }

    reply.error = ErrorKind(a.result, a.transfer.saw_response);
    if (reply.error != WebError::None && reply.error != WebError::CutShort) return reply;
    if (a.transfer.saw_response) {
        reply.status = static_cast<int>(a.transfer.status);
        reply.headers = GbkToUtf8(a.transfer.headers);
        reply.cookies = CollectReplyCookies(reply.headers);
        if (options.merge_cookies.value_or(true) && options.cookies_in) {
            std::string old_cookies = *options.cookies_in;
            reply.cookies = CookieMerge(old_cookies, reply.cookies);
        }
    }
    // A reply cut short is no reply: callers would take the fragment for the whole.
    if (reply.Ok()) reply.body = std::move(a.transfer.body);
    return reply;
}

void SetTlsSettings(const TlsSettings& settings) {
    CurlShare::Instance().SetTls(settings);
}

void SetRequestLimits(const RequestLimits& limits) {
    CurlShare::Instance().SetLimits(limits);
}

RequestLimits CurrentRequestLimits() {
    return CurlShare::Instance().Limits();
}

void CancelAllRequests() {
    CurlShare::Instance().CancelAll();
}

void PrepareCancelFromSignals() {
    (void)CurlShare::Instance();
}

}  // namespace vpsdesk::net
