#pragma once
// The three stages that fill the purchase page: the product types after sign-in, the
// regions of a picked type, the products of a picked region. Each sends its requests in
// order through `send` and says what the selectors and the list become; the page applies
// it on the UI thread.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shop/CatalogueRequest.h"
#include "shop/ProductRow.h"

namespace vpsdesk::shop {

inline constexpr std::string_view kComingSoon = "即将上架";

// Product types are appended to what the selector already holds, duplicates and all, so a
// second sign-in in the same run lists them twice.
struct ProductTypesUpdate {
    std::vector<std::string> appended;
    std::optional<std::string> text;  // the selector's new text, when the list is not empty
};

struct RegionsUpdate {
    // Set: the selector's items are replaced by these. Not set: they stay as they are.
    std::optional<std::vector<std::string>> items;
    std::string text;  // the selector's new text
};

// Nothing to change (std::nullopt) when the reply is empty.
std::optional<ProductTypesUpdate> LoadProductTypes(const CatalogueSender& send);
RegionsUpdate LoadRegions(const CatalogueSender& send, std::string_view type_name);
// The rows that replace the list; none when a lookup or the list comes back empty.
std::vector<ProductRow> LoadProducts(const CatalogueSender& send, std::string_view region_name,
                                     std::string_view type_name);

// The "id" of element 0 of a lookup reply; empty when there is none.
std::string LookupId(std::string_view reply);

}  // namespace vpsdesk::shop
