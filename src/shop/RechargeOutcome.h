#pragma once
// The recharge window ("充值中心"): its texts, the checks made before asking for a payment
// page, and what the platform's answer leads to.
#include <string>
#include <string_view>

namespace vpsdesk::shop {

inline constexpr std::string_view kRechargeTitle = "充值中心";
inline constexpr std::string_view kRechargeAccountCaption = "充值账号：";
inline constexpr std::string_view kRechargeAmountCaption = "充值金额：";
inline constexpr std::string_view kRechargeButtonCaption = "充值";
// Every refusal is a toolkit box with this title.
inline constexpr std::string_view kRechargeErrorTitle = "错误";
inline constexpr std::string_view kRechargeFailedText = "充值失败";

struct RechargeOutcome {
    // Non-empty: show it in a "错误" box and keep the window open; nothing else happens.
    std::string error;
    // Non-empty: open it in the default browser, then close the window.
    std::string address;

    bool operator==(const RechargeOutcome&) const = default;
};

// Before any request: an empty account, then an empty amount, is refused. The amount is
// not checked for being a number; the platform decides. Empty error: send the request.
RechargeOutcome CheckRechargeInput(std::string_view account, std::string_view amount);

// The reply is the payment page's address. Only a web address is opened: the text goes
// to the desktop's opener, which would as readily run a local file or another scheme's
// handler. Anything else, an empty reply included, is "充值失败".
RechargeOutcome ReadPaymentReply(std::string_view reply);

}  // namespace vpsdesk::shop
