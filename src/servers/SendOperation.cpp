#include "servers/SendOperation.h"

#include "net/WebRequest.h"
#include "platform/PlatformReply.h"

namespace vpsdesk::servers {

std::string SendOperation(const OperationRequest& request, std::string_view base_url) {
    net::WebRequestOptions options;
    options.method = request.post ? 1 : 0;
    if (request.post) options.body = request.form;
    if (!request.headers.empty()) options.headers = request.headers;
    options.no_redirect = request.no_redirect;
    return platform::ReadPlatformReply(
        net::WebRequest(std::string(base_url) + request.path, options), request.ReplyPath());
}

}  // namespace vpsdesk::servers
