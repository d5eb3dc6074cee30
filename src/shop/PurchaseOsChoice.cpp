#include "shop/PurchaseOsChoice.h"

#include "net/JsonDocument.h"
#include "shop/CatalogueCount.h"

namespace vpsdesk::shop {

PurchaseOsChoice PurchaseOsChoice::FromReply(std::string_view reply) {
    net::JsonDocument doc;
    doc.Parse(reply);
    PurchaseOsChoice choice;
    const std::size_t count = ListCount(doc);
    for (std::size_t i = 0; i < count; ++i) {
        const std::string element = "data[" + std::to_string(i) + "].";
        choice.names_.push_back(doc.GetText(element + "osname"));
        choice.ids_.push_back(doc.GetText(element + "osid"));
    }
    choice.chosen_name_ = doc.GetText("data[0].osname");
    choice.chosen_id_ = doc.GetText("data[0].osid");
    return choice;
}

void PurchaseOsChoice::Choose(std::size_t index) {
    if (index >= names_.size()) return;
    chosen_name_ = names_[index];
    chosen_id_ = ids_[index];
}

}  // namespace vpsdesk::shop
