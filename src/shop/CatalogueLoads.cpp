#include "shop/CatalogueLoads.h"

#include <algorithm>

#include "net/JsonDocument.h"
#include "shop/CatalogueCount.h"

namespace vpsdesk::shop {

namespace {

std::string Member(const net::JsonDocument& doc, std::size_t index, std::string_view member) {
    return doc.GetText("data[" + std::to_string(index) + "]." + std::string(member));
}

}  // namespace

std::string LookupId(std::string_view reply) {
    net::JsonDocument doc;
    doc.Parse(reply);
    return doc.GetText("data[0].id");
}

std::optional<ProductTypesUpdate> LoadProductTypes(const CatalogueSender& send) {
    const CatalogueReply reply = send(ProductTypesRequest());
    if (reply.text.empty()) return std::nullopt;
    net::JsonDocument doc;
    doc.Parse(reply.text);
    ProductTypesUpdate update;
    const std::size_t count = ListCount(doc);
    for (std::size_t i = 0; i < count; ++i) update.appended.push_back(Member(doc, i, "cplxmc"));
    if (count > 0) update.text = doc.GetText("data[0].cplxmc");
    return update;
}

RegionsUpdate LoadRegions(const CatalogueSender& send, std::string_view type_name) {
    const std::string type_id = LookupId(send(ProductTypeLookupRequest(type_name)).text);
    const CatalogueReply reply = send(LinesRequest(type_id));
    RegionsUpdate update{std::nullopt, std::string(kComingSoon)};
    if (reply.text.empty()) return update;

    net::JsonDocument doc;
    doc.Parse(reply.text);
    std::vector<std::string>& items = update.items.emplace();
    const std::size_t count = ListCount(doc);
    if (count < 1) return update;
    for (std::size_t i = 0; i < count; ++i) {
        std::string name = Member(doc, i, "xlmc");
        if (std::find(items.begin(), items.end(), name) == items.end())
            items.push_back(std::move(name));
    }
    update.text = doc.GetText("data[0].xlmc");
    return update;
}

std::vector<ProductRow> LoadProducts(const CatalogueSender& send, std::string_view region_name,
                                     std::string_view type_name) {
    // Both lookups are sent even when the first comes back empty.
    const CatalogueReply line = send(LineLookupRequest(region_name));
    const CatalogueReply type = send(ProductTypeLookupRequest(type_name));
    if (line.text.empty() || type.text.empty()) return {};
    const CatalogueReply products = send(ProductsRequest(LookupId(line.text), LookupId(type.text)));
    if (products.text.empty()) return {};
    return ReadProductRows(products.text);
}

}  // namespace vpsdesk::shop
