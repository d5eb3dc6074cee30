#pragma once
// Sends one purchase-page or purchase-window request to the platform at `base_url`.
#include <string_view>

#include "shop/CatalogueRequest.h"

namespace vpsdesk::shop {

// The reply as text (GBK decoded), empty when the request failed. Blocks the calling
// thread.
CatalogueReply SendCatalogueRequest(const CatalogueRequest& request, std::string_view base_url);

}  // namespace vpsdesk::shop
