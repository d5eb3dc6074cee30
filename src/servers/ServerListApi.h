#pragma once
// The server list request: which page to ask for, and the request itself.
#include <string>
#include <string_view>

#include "platform/SiteConstants.h"

namespace vpsdesk::servers {

inline constexpr std::string_view kServerListPath = "/user/data/vpslist";

// 1 for `page` <= 1; otherwise the page selector's text as a number (what the caller
// passes is only a hint that a later page is meant).
long long ServerPageNumber(long long page, std::string_view selector_text);

// `base_url` + "/user/data/vpslist?page=N&limit=5&ljs=1".
std::string ServerListUrl(std::string_view base_url, long long page);

// POSTs the request for `page` (no body, default headers) to `site` and returns the reply
// as text; empty when the request failed. Blocks the calling thread.
std::string FetchServerPage(const platform::SiteConstants& site, long long page);

}  // namespace vpsdesk::servers
