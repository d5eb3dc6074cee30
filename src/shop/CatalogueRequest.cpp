#include "shop/CatalogueRequest.h"

#include "net/NameValueList.h"

namespace vpsdesk::shop {

namespace {

CatalogueRequest Post(std::string_view path, const net::NameValueList& form,
                      std::optional<bool> no_redirect = std::nullopt) {
    CatalogueRequest request;
    request.post = true;
    request.path = path;
    request.form = form.BuildForm();
    request.no_redirect = no_redirect;
    return request;
}

CatalogueRequest PostOne(std::string_view path, std::string_view name, std::string_view value,
                         std::optional<bool> no_redirect = std::nullopt) {
    net::NameValueList form;
    form.Add(name, value);
    return Post(path, form, no_redirect);
}

}  // namespace

CatalogueRequest ProductTypesRequest() {
    CatalogueRequest request;
    request.path = "/user/cplxlist";
    return request;
}

CatalogueRequest ProductTypeLookupRequest(std::string_view type_name) {
    return PostOne("/user/cplxlist", "cplxmc", type_name);
}

CatalogueRequest LinesRequest(std::string_view type_id) {
    return PostOne("/user/xllist", "lxid", type_id);
}

CatalogueRequest LineLookupRequest(std::string_view region_name) {
    return PostOne("/user/xlmchq", "xlmc", region_name);
}

CatalogueRequest ProductsRequest(std::string_view line_id, std::string_view type_id) {
    net::NameValueList form;
    form.Add("xlid", line_id);
    form.Add("cplxid", type_id);
    return Post("/user/ycplist", form);
}

CatalogueRequest PricesRequest(std::string_view product_id) {
    return PostOne("/user/ycpjgb", "id", product_id, true);
}

CatalogueRequest PurchaseOsRequest(std::string_view product_id) {
    return PostOne("/user/ycpos", "id", product_id, true);
}

CatalogueRequest OrderRequest(std::string_view period, long long product_id,
                              std::string_view os_id) {
    net::NameValueList form;
    form.Add("year", period);
    form.Add("id", std::to_string(product_id));
    form.Add("osid", os_id);
    form.Add("duration", "1");
    return Post("/user/data/buy", form, false);
}

}  // namespace vpsdesk::shop
