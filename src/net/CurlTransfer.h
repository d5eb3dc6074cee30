#pragma once
// What both request engines share of one libcurl transfer: the reply as it arrives (body,
// the final response's header block, status and Location), the cancel check, the run on
// the calling thread's connection cache, the kind of a failure and the TLS trust options.
#include <curl/curl.h>

#include <chrono>
#include <memory>
#include <string>
#include <string_view>

#include "net/ByteArray.h"
#include "net/WebRequest.h"

namespace vpsdesk::net {

// The request line's method for each HttpVerb, in the enum's order.
const char* VerbName(HttpVerb verb);

// A parsed URL handle that cleans up after itself.
struct UrlDeleter {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
using UrlHandle = std::unique_ptr<CURLU, UrlDeleter>;

struct Transfer {
    bool head_request = false;
    ByteArray body;
    std::string headers;  // GBK bytes of the latest response's header block
    bool in_headers = false;
    bool saw_response = false;
    long status = 0;
    std::string location;
    bool ended_at_head = false;

    // Once bytes have moved, the transfer ends when no new byte moves for this long (zero:
    // no such limit). libcurl's own low-speed check averages over several seconds, so a
    // reply that stops part-way would be held that much longer than the limit.
    std::chrono::milliseconds stall{0};
    curl_off_t moved = 0;
    std::chrono::steady_clock::time_point last_move{};
    bool stalled = false;

    // The header block of a final (not 1xx) response arrived whole.
    bool HeadersComplete() const { return saw_response && !in_headers && status >= 200; }
};

// A caller's "Host:" line: libcurl matches cookies against that name and keeps it in the
// handle past curl_easy_reset, so the handle must not serve the next request.
bool CarriesHostLine(const curl_slist* list);

// libcurl accepts neither raw non-ASCII bytes nor spaces or control bytes in a URL: those
// bytes are percent-encoded, everything else stays.
std::string EncodePath(std::string_view path);

// Points the handle's body, header and progress callbacks at `transfer`.
void CaptureTransfer(CURL* easy, Transfer& transfer);

// Trust as `tls` says: the system store, plus its CA file when one is set.
void SetTlsTrust(CURL* easy, const TlsSettings& tls);

// curl_easy_perform, but on the calling thread's connection cache, and ending early once
// CancelAllRequests has run.
CURLcode Perform(CURL* easy, CURLM* multi);
// The same for a handle captured into `transfer`; its stall ends as a time-out.
CURLcode Perform(CURL* easy, CURLM* multi, const Transfer& transfer);

// The kind of a failed transfer (see WebError). Once a response began, any failure leaves
// it incomplete, whatever libcurl calls it.
WebError ErrorKind(CURLcode result, bool response_began);

}  // namespace vpsdesk::net
