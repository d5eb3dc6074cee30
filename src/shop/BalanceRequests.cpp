#include "shop/BalanceRequests.h"

#include "net/NameValueList.h"

namespace vpsdesk::shop {

namespace {

BalanceRequest Post(std::string_view path, const net::NameValueList& form,
                    std::optional<bool> no_redirect = std::nullopt) {
    BalanceRequest request;
    request.post = true;
    request.path = path;
    request.form = form.BuildForm();
    request.no_redirect = no_redirect;
    return request;
}

}  // namespace

BalanceRequest RedeemCardRequest(std::string_view card_number, std::string_view card_password) {
    net::NameValueList form;
    form.Add("cid", card_number);
    form.Add("cpass", card_password);
    return Post(kRedeemCardPath, form);
}

BalanceRequest PaymentPageRequest(std::string_view account, std::string_view amount) {
    net::NameValueList form;
    form.Add("ORDERMONEY", amount);
    form.Add("USERNAME", account);
    return Post(kPaymentPagePath, form, true);
}

BalanceRequest FinanceRecordsRequest(std::string_view page) {
    BalanceRequest request;
    request.path = std::string(kFinanceRecordsPath) + "?page=" + std::string(page) + "&limit=5";
    return request;
}

}  // namespace vpsdesk::shop
