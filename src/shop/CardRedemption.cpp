#include "shop/CardRedemption.h"

namespace vpsdesk::shop {

namespace {

constexpr DelayRange kRedeemedDelay{300, 1000};
constexpr DelayRange kFailedDelay{500, 1500};
constexpr int kSuccessState = 2;
constexpr int kFailureState = 3;

}  // namespace

CardOutcome ReadCardReply(std::string_view reply) {
    if (reply == kCardRedeemedReply)
        return {CardResult::Redeemed, "    充值成功", kRedeemedDelay, kSuccessState, true};
    if (reply == kCardRejectedReply)
        return {CardResult::Rejected, "    卡号密码错误", kFailedDelay, kFailureState, false};
    return {CardResult::Failed, "    充值失败", kFailedDelay, kFailureState, false};
}

}  // namespace vpsdesk::shop
