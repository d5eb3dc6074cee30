#include "servers/ServerListApi.h"

#include "net/Text.h"
#include "net/WebRequest.h"
#include "platform/PlatformReply.h"

namespace vpsdesk::servers {

long long ServerPageNumber(long long page, std::string_view selector_text) {
    if (page <= 1) return 1;
    return net::TextToInt(selector_text);
}

std::string ServerListUrl(std::string_view base_url, long long page) {
    return std::string(base_url) + std::string(kServerListPath) + "?page=" + std::to_string(page) +
           "&limit=5&ljs=1";
}

std::string FetchServerPage(const platform::SiteConstants& site, long long page) {
    net::WebRequestOptions options;
    options.verb = net::HttpVerb::Post;
    return platform::ReadPlatformReply(
        net::WebRequest(ServerListUrl(site.BaseUrl(), page), options).body, kServerListPath);
}

}  // namespace vpsdesk::servers
