#pragma once
// The requests that move money into the account or list its records, as plain values:
// card redemption, the online payment page and one page of finance records. Sending them
// is platform::SendPlatformRequest's business.
#include <string_view>

#include "platform/PlatformRequest.h"

namespace vpsdesk::shop {

inline constexpr std::string_view kRedeemCardPath = "/user/pay/czkzf";
inline constexpr std::string_view kPaymentPagePath = "/user/zfbzf";
inline constexpr std::string_view kFinanceRecordsPath = "/user/data/moneylist";

using BalanceRequest = platform::PlatformRequest;
using BalanceReply = platform::PlatformResponse;

// The boxes' texts as they stand: an untouched box sends its hint.
BalanceRequest RedeemCardRequest(std::string_view card_number, std::string_view card_password);
// The platform answers with the payment page's address; a redirect is that page's own
// business, so it is not followed.
BalanceRequest PaymentPageRequest(std::string_view account, std::string_view amount);
// `page` is the page selector's text.
BalanceRequest FinanceRecordsRequest(std::string_view page);

}  // namespace vpsdesk::shop
