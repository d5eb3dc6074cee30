// What the card button shows for each reply of the redemption.
#include <gtest/gtest.h>

#include "shop/CardRedemption.h"

using namespace vpsdesk::shop;

TEST(CardRedemption, OnlyTheExactSuccessTextRedeems) {
    struct Case {
        const char* reply;
        CardResult result;
        const char* caption;
        DelayRange delay;
        int state;
    };
    const Case cases[] = {
        {"充值成功", CardResult::Redeemed, "    充值成功", {300, 1000}, 2},
        {"卡号或卡密错误", CardResult::Rejected, "    卡号密码错误", {500, 1500}, 3},
        // The success text followed by a line break is not the success text.
        {"充值成功\n", CardResult::Failed, "    充值失败", {500, 1500}, 3},
        {"充值成功\r\n", CardResult::Failed, "    充值失败", {500, 1500}, 3},
        {" 充值成功", CardResult::Failed, "    充值失败", {500, 1500}, 3},
        {"卡号或卡密错误\n", CardResult::Failed, "    充值失败", {500, 1500}, 3},
        {"该卡已被使用", CardResult::Failed, "    充值失败", {500, 1500}, 3},
        {"", CardResult::Failed, "    充值失败", {500, 1500}, 3},
    };
    for (const Case& c : cases) {
        const CardOutcome got = ReadCardReply(c.reply);
        EXPECT_EQ(got.result, c.result) << c.reply;
        EXPECT_EQ(got.caption, c.caption) << c.reply;
        EXPECT_EQ(got.delay, c.delay) << c.reply;
        EXPECT_EQ(got.progress_state, c.state) << c.reply;
        // Only money that arrived makes the balance shown elsewhere stale.
        EXPECT_EQ(got.refresh_balance, c.result == CardResult::Redeemed) << c.reply;
    }
}
