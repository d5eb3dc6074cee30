#include "shop/SendCatalogueRequest.h"

#include <string>

#include "net/WebRequest.h"
#include "platform/PlatformReply.h"

namespace vpsdesk::shop {

CatalogueReply SendCatalogueRequest(const CatalogueRequest& request, std::string_view base_url) {
    net::WebRequestOptions options;
    options.verb = request.post ? net::HttpVerb::Post : net::HttpVerb::Get;
    if (request.post) options.body = request.form;
    options.no_redirect = request.no_redirect;
    const net::WebReply reply = net::WebRequest(std::string(base_url) + request.path, options);
    return {platform::ReadPlatformReply(reply.body, request.path), !reply.Ok()};
}

}  // namespace vpsdesk::shop
