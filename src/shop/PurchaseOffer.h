#pragma once
// What the purchase window shows for a product when it opens: its prices and its
// operating systems, asked for in that order.
#include <string_view>

#include "shop/CatalogueRequest.h"
#include "shop/PurchaseOsChoice.h"
#include "shop/PurchaseQuote.h"

namespace vpsdesk::shop {

struct PurchaseOffer {
    PurchaseQuote quote;
    PurchaseOsChoice os;

    // Sends the prices request and then the operating-systems request for `product_id`.
    static PurchaseOffer Load(const CatalogueSender& send, std::string_view product_id);
};

}  // namespace vpsdesk::shop
