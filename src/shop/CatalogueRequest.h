#pragma once
// The requests of the purchase page and the purchase window, as plain values: the path
// under the base URL, the form body and whether redirects are followed. Sending them is
// the caller's business (platform::SendPlatformRequest, or a script in the tests).
#include <functional>
#include <string>
#include <string_view>

#include "platform/PlatformRequest.h"

namespace vpsdesk::shop {

using CatalogueRequest = platform::PlatformRequest;
using CatalogueReply = platform::PlatformResponse;

// Sends one request and waits for its reply; the loads below take one, so that they run
// against the platform or against scripted replies alike.
using CatalogueSender = std::function<CatalogueReply(const CatalogueRequest&)>;

CatalogueRequest ProductTypesRequest();
CatalogueRequest ProductTypeLookupRequest(std::string_view type_name);
CatalogueRequest LinesRequest(std::string_view type_id);
CatalogueRequest LineLookupRequest(std::string_view region_name);
CatalogueRequest ProductsRequest(std::string_view line_id, std::string_view type_id);

CatalogueRequest PricesRequest(std::string_view product_id);
CatalogueRequest PurchaseOsRequest(std::string_view product_id);
// `period` is "day", "month" or "Annual", sent as "year"; the duration is always one.
CatalogueRequest OrderRequest(std::string_view period, long long product_id,
                              std::string_view os_id);

}  // namespace vpsdesk::shop
