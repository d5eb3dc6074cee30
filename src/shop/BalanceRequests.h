#pragma once
// The requests that move money into the account or list its records, as plain values:
// card redemption, the online payment page and one page of finance records. Sending them
// is SendBalanceRequest's business.
#include <optional>
#include <string>
#include <string_view>

namespace vpsdesk::shop {

inline constexpr std::string_view kRedeemCardPath = "/user/pay/czkzf";
inline constexpr std::string_view kPaymentPagePath = "/user/zfbzf";
inline constexpr std::string_view kFinanceRecordsPath = "/user/data/moneylist";

struct BalanceRequest {
    bool post = false;
    std::string path;  // under the base URL, query included
    std::string form;  // the form body, values as they stand (not URL-encoded)
    std::optional<bool> no_redirect;

    // The path without its query: the name the reply reading goes by.
    std::string_view ReplyPath() const;
    bool operator==(const BalanceRequest&) const = default;
};

// The reply as text, and whether the network failed before the platform could answer.
struct BalanceReply {
    std::string text;
    bool network_failed = false;
};

// The boxes' texts as they stand: an untouched box sends its hint.
BalanceRequest RedeemCardRequest(std::string_view card_number, std::string_view card_password);
// The platform answers with the payment page's address; a redirect is that page's own
// business, so it is not followed.
BalanceRequest PaymentPageRequest(std::string_view account, std::string_view amount);
// `page` is the page selector's text.
BalanceRequest FinanceRecordsRequest(std::string_view page);

}  // namespace vpsdesk::shop
