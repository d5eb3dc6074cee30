#pragma once
// Sends one server-operation request to the platform at `base_url`.
#include <string>
#include <string_view>

#include "servers/OperationRequests.h"

namespace vpsdesk::servers {

// The reply as text (GBK decoded), empty when the request failed. Blocks the calling
// thread.
OperationReply SendOperation(const OperationRequest& request, std::string_view base_url);

}  // namespace vpsdesk::servers
