#include "servers/SendOperation.h"

#include "net/WebRequest.h"
#include "platform/PlatformReply.h"

namespace vpsdesk::servers {

OperationReply SendOperation(const OperationRequest& request, std::string_view base_url) {
    net::WebRequestOptions options;
    options.verb = request.post ? net::HttpVerb::Post : net::HttpVerb::Get;
    if (request.post) options.body = request.form;
    if (!request.headers.empty()) options.headers = request.headers;
    options.no_redirect = request.no_redirect;
    const net::WebReply reply = net::WebRequest(std::string(base_url) + request.path, options);
    return {platform::ReadPlatformReply(reply.body, request.ReplyPath()), !reply.Ok()};
}

}  // namespace vpsdesk::servers
