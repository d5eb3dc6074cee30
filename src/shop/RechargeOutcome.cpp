#include "shop/RechargeOutcome.h"

#include "net/Text.h"

namespace vpsdesk::shop {

namespace {

RechargeOutcome Refusal(std::string_view text) {
    return {std::string(text), {}};
}

// Line breaks and spaces around an address are the platform's page layout, not part of
// the address.
std::string_view TrimAddress(std::string_view text) {
    constexpr std::string_view kSpace = " \t\r\n";
    const auto first = text.find_first_not_of(kSpace);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

bool IsWebAddress(std::string_view text) {
    if (text.find_first_of(" \t\r\n") != std::string_view::npos) return false;
    for (std::string_view scheme : {std::string_view("https://"), std::string_view("http://")})
        if (net::StartsWithText(text, scheme, true) && text.size() > scheme.size()) return true;
    return false;
}

}  // namespace

RechargeOutcome CheckRechargeInput(std::string_view account, std::string_view amount) {
    if (account.empty()) return Refusal("账号不能为空");
    if (amount.empty()) return Refusal("金额不能为空");
    return {};
}

RechargeOutcome ReadPaymentReply(std::string_view reply) {
    const std::string_view address = TrimAddress(reply);
    if (!IsWebAddress(address)) return Refusal(kRechargeFailedText);
    return {{}, std::string(address)};
}

}  // namespace vpsdesk::shop
