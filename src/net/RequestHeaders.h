#pragma once
// The request header block of WebRequest: built from the caller's options as the platform
// sees it, then handed to libcurl so that exactly these lines go on the wire.
#include <curl/curl.h>

#include <memory>
#include <string>
#include <string_view>

#include "net/WebRequest.h"

namespace vpsdesk::net {

struct CurlListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using HeaderList = std::unique_ptr<curl_slist, CurlListDeleter>;

// The block as the platform sees it (caller lines, defaults, cookies), and the agent sent
// when the block has no User-Agent line of its own.
struct RequestHeaders {
    std::string block;
    std::string agent;
};
RequestHeaders BuildHeaders(std::string_view url, HttpVerb verb, const WebRequestOptions& options);

// The GBK block as a libcurl list. Lines libcurl would drop (no colon, blank value) ride
// along inside a neighbouring entry, which libcurl sends verbatim; with no neighbour they
// follow the agent line. Empty lines are left out: one would end the header section early.
struct CurlHeaders {
    HeaderList list;
    std::string agent;
};
CurlHeaders ToCurlHeaders(std::string_view block_gbk, std::string agent_gbk, HttpVerb verb,
                          bool drop_credentials);

}  // namespace vpsdesk::net
