#include "shop/PurchaseOffer.h"

namespace vpsdesk::shop {

PurchaseOffer PurchaseOffer::Load(const CatalogueSender& send, std::string_view product_id) {
    const CatalogueReply prices = send(PricesRequest(product_id));
    const CatalogueReply systems = send(PurchaseOsRequest(product_id));
    return {PurchaseQuote::FromReply(prices.text), PurchaseOsChoice::FromReply(systems.text)};
}

}  // namespace vpsdesk::shop
