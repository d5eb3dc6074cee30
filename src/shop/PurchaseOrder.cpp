#include "shop/PurchaseOrder.h"

#include "net/Text.h"

namespace vpsdesk::shop {

long long PurchaseOrder::ProductNumber() const {
    return net::TextToInt(product_id);
}

CatalogueRequest PurchaseOrder::Request() const {
    return OrderRequest(PurchasePeriodName(period), ProductNumber(), os_id);
}

std::optional<std::string_view> BuyRefusal(bool product_selected, std::string_view region_text) {
    if (!product_selected) return kChooseProductText;
    if (region_text.empty()) return kChooseRegionText;
    return std::nullopt;
}

std::optional<std::string_view> OpenRefusal(const PurchaseOrder& order) {
    if (order.product_id.empty()) return kChooseProductText;
    return std::nullopt;
}

}  // namespace vpsdesk::shop
