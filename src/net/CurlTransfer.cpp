#include "net/CurlTransfer.h"

#include <array>

#include "net/CurlShare.h"
#include "net/Text.h"

namespace vpsdesk::net {

const char* VerbName(HttpVerb verb) {
    static constexpr std::array<const char*, 8> kVerbs = {"GET",     "POST",   "HEAD",  "PUT",
                                                          "OPTIONS", "DELETE", "TRACE", "CONNECT"};
    return kVerbs.at(static_cast<std::size_t>(verb));
}

namespace {

constexpr const char* kSystemCaPath = "/etc/ssl/certs";

size_t OnBody(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    t->body.insert(t->body.end(), data, data + size * count);
    return size * count;
}

size_t OnHeader(char* data, size_t size, size_t count, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const size_t taken = size * count;
    std::string_view line(data, taken);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    if (StartsWithText(line, "HTTP/")) {
        // Each response (100-continue, redirects) starts the block afresh.
        t->headers.clear();
        t->location.clear();
        t->in_headers = true;
        t->saw_response = true;
        size_t space = line.find(' ');
        t->status =
            space == std::string_view::npos ? 0 : static_cast<long>(TextToInt(line.substr(space)));
    } else if (!t->in_headers) {
        return taken;  // trailers after a chunked body are not part of the block
    }
    t->headers.append(line).append("\r\n");
    if (line.empty()) {
        t->in_headers = false;
        // HEAD may carry a body, so libcurl would wait for a reply body that never
        // comes: the final response's headers are the whole reply.
        if (t->head_request && t->status >= 200) {
            t->ended_at_head = true;
            return 0;
        }
    } else if (StartsWithText(line, "Location:", true)) {
        t->location = TrimText(line.substr(9));
    }
    return taken;
}

int OnProgress(void* user, curl_off_t, curl_off_t down, curl_off_t, curl_off_t up) {
    if (CurlShare::Instance().Cancelled()) return 1;
    auto* t = static_cast<Transfer*>(user);
    if (t->stall.count() <= 0) return 0;
    const auto now = std::chrono::steady_clock::now();
    if (down + up != t->moved) {
        t->moved = down + up;
        t->last_move = now;
    } else if (t->moved > 0 && now - t->last_move >= t->stall) {
        t->stalled = true;
        return 1;
    }
    return 0;
}

}  // namespace

bool CarriesHostLine(const curl_slist* list) {
    for (; list; list = list->next)
        if (StartsWithText(list->data, "Host:", true)) return true;
    return false;
}

std::string EncodePath(std::string_view path) {
    std::string out;
    out.reserve(path.size());
    for (char ch : path) {
        auto c = static_cast<unsigned char>(ch);
        if (c > 0x20 && c < 0x7F) {
            out.push_back(ch);
        } else {
            out += '%' + UpperHex(std::string_view(&ch, 1));
        }
    }
    return out;
}

void CaptureTransfer(CURL* easy, Transfer& transfer) {
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &OnBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &transfer);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &OnHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, &transfer);
    curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &OnProgress);
    curl_easy_setopt(easy, CURLOPT_XFERINFODATA, &transfer);
}

void SetTlsTrust(CURL* easy, const TlsSettings& tls) {
    if (!tls.ca_file.empty()) curl_easy_setopt(easy, CURLOPT_CAINFO, tls.ca_file.c_str());
    curl_easy_setopt(easy, CURLOPT_CAPATH, kSystemCaPath);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, tls.verify ? 1L : 0L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, tls.verify ? 2L : 0L);
}

CURLcode Perform(CURL* easy, CURLM* multi) {
    if (!multi || curl_multi_add_handle(multi, easy) != CURLM_OK) return CURLE_FAILED_INIT;
    CURLcode result = CURLE_FAILED_INIT;
    for (;;) {
        int running = 0;
        if (curl_multi_perform(multi, &running) != CURLM_OK) break;
        bool done = false;
        int queued = 0;
        while (CURLMsg* msg = curl_multi_info_read(multi, &queued)) {
            if (msg->msg == CURLMSG_DONE && msg->easy_handle == easy) {
                result = msg->data.result;
                done = true;
            }
        }
        if (done || running == 0) break;
        if (CurlShare::Instance().Cancelled()) {
            result = CURLE_ABORTED_BY_CALLBACK;
            break;
        }
        // Short polls, so that a cancel (a termination signal) is seen within 0.1 s.
        if (curl_multi_poll(multi, nullptr, 0, 100, nullptr) != CURLM_OK) break;
    }
    curl_multi_remove_handle(multi, easy);
    return result;
}

CURLcode Perform(CURL* easy, CURLM* multi, const Transfer& transfer) {
    const CURLcode result = Perform(easy, multi);
    // A stall is a time-out, whichever check saw it first.
    if (result == CURLE_ABORTED_BY_CALLBACK && transfer.stalled) return CURLE_OPERATION_TIMEDOUT;
    return result;
}

WebError ErrorKind(CURLcode result, bool response_began) {
    if (result == CURLE_OK) return WebError::None;
    if (result == CURLE_ABORTED_BY_CALLBACK && CurlShare::Instance().Cancelled())
        return WebError::Cancelled;
    if (response_began) return WebError::CutShort;
    switch (result) {
        case CURLE_OPERATION_TIMEDOUT:
            return WebError::TimedOut;
        case CURLE_PARTIAL_FILE:
        case CURLE_RECV_ERROR:
        case CURLE_GOT_NOTHING:
            return WebError::CutShort;
        case CURLE_SSL_CONNECT_ERROR:
        case CURLE_SSL_ENGINE_NOTFOUND:
        case CURLE_SSL_ENGINE_SETFAILED:
        case CURLE_SSL_CERTPROBLEM:
        case CURLE_SSL_CIPHER:
        case CURLE_PEER_FAILED_VERIFICATION:
        case CURLE_SSL_ENGINE_INITFAILED:
        case CURLE_SSL_CACERT_BADFILE:
        case CURLE_SSL_SHUTDOWN_FAILED:
        case CURLE_SSL_CRL_BADFILE:
        case CURLE_SSL_ISSUER_ERROR:
        case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
        case CURLE_SSL_INVALIDCERTSTATUS:
        case CURLE_SSL_CLIENTCERT:
        case CURLE_USE_SSL_FAILED:
            return WebError::Tls;
        default:  // refused, unresolved, and whatever else kept the request from going out
            return WebError::Connect;
    }
}

}  // namespace vpsdesk::net
