#include "shop/PurchaseResult.h"

#include "net/JsonDocument.h"

namespace vpsdesk::shop {

PurchaseResult PurchaseResult::FromReply(std::string_view reply, bool network_failed) {
    net::JsonDocument doc;
    doc.Parse(reply);
    PurchaseResult result{doc.GetObject("status").ToText() == "200", doc.GetText("data")};
    if (network_failed && !result.success && result.data.empty())
        result.data = kOrderNetworkFailedText;
    return result;
}

}  // namespace vpsdesk::shop
