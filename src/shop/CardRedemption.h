#pragma once
// Redeeming a recharge card: the card page's texts and what the platform's plain-text
// reply leads to. The reply is compared whole, so a success text with anything around it
// is a failure.
#include <string>
#include <string_view>

namespace vpsdesk::shop {

// The boxes' hints, which are their real text while untouched.
inline constexpr std::string_view kCardNumberHint = "卡号";
inline constexpr std::string_view kCardPasswordHint = "卡密";
inline constexpr std::string_view kCardButtonCaption = "使用";
inline constexpr std::string_view kCardWorkingCaption = "    正在充值中";

inline constexpr std::string_view kCardRedeemedReply = "充值成功";
inline constexpr std::string_view kCardRejectedReply = "卡号或卡密错误";

// How long the result waits to show, in ms, drawn uniformly from [low, high].
struct DelayRange {
    int low = 0;
    int high = 0;
    bool operator==(const DelayRange&) const = default;
};

enum class CardResult { Redeemed, Rejected, Failed };

struct CardOutcome {
    CardResult result = CardResult::Failed;
    std::string caption;           // the button's caption while the result shows
    DelayRange delay;              // before the result shows
    int progress_state = 0;        // the shared progress flag: 2 success, 3 failure
    bool refresh_balance = false;  // the balance shown elsewhere is out of date

    bool operator==(const CardOutcome&) const = default;
};

// An empty reply (no connection) is a failure like any other unknown text.
CardOutcome ReadCardReply(std::string_view reply);

}  // namespace vpsdesk::shop
