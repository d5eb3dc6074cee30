#include "platform/PlatformRequest.h"

#include "net/WebRequest.h"
#include "platform/PlatformReply.h"

namespace vpsdesk::platform {

std::string_view PlatformRequest::ReplyPath() const {
    return std::string_view(path).substr(0, path.find('?'));
}

PlatformResponse SendPlatformRequest(const PlatformRequest& request, std::string_view base_url) {
    net::WebRequestOptions options;
    options.verb = request.post ? net::HttpVerb::Post : net::HttpVerb::Get;
    if (request.post) options.body = request.form;
    if (!request.headers.empty()) options.headers = request.headers;
    options.no_redirect = request.no_redirect;
    const net::WebReply reply = net::WebRequest(std::string(base_url) + request.path, options);
    return {ReadPlatformReply(reply.body, request.ReplyPath()), !reply.Ok()};
}

}  // namespace vpsdesk::platform
