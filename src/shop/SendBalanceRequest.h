#pragma once
// Sends one balance request to the platform at `base_url`.
#include <string_view>

#include "shop/BalanceRequests.h"

namespace vpsdesk::shop {

// The reply as text (GBK decoded), empty when the request failed. Blocks the calling
// thread.
BalanceReply SendBalanceRequest(const BalanceRequest& request, std::string_view base_url);

}  // namespace vpsdesk::shop
