#pragma once
// The order that the purchase window builds up and its open button sends, and the checks
// that stand before the window and before the order.
#include <optional>
#include <string>
#include <string_view>

#include "shop/CatalogueRequest.h"
#include "shop/PurchaseQuote.h"

namespace vpsdesk::shop {

inline constexpr std::string_view kChooseProductText = "请选择购买的产品";
inline constexpr std::string_view kChooseRegionText = "请选择地区";
// The caption of the plain message boxes of the purchase.
inline constexpr std::string_view kPurchaseBoxCaption = "信息：";

struct PurchaseOrder {
    std::string product_id;  // the selected row's "ID" cell
    std::string os_id;       // taken from the chosen OS when the open button is pressed
    PurchasePeriod period = kDefaultPeriod;

    // The product id as a number, as the order sends it: a non-numeric id is 0.
    long long ProductNumber() const;
    CatalogueRequest Request() const;
};

// The buy button's checks, in order: a product row, then a region. The message to show,
// or nothing when the window may open.
std::optional<std::string_view> BuyRefusal(bool product_selected, std::string_view region_text);
// The open button's check: nothing is ordered without a product.
std::optional<std::string_view> OpenRefusal(const PurchaseOrder& order);

}  // namespace vpsdesk::shop
