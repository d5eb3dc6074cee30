// The recharge window's checks and what the payment-page reply leads to.
#include <gtest/gtest.h>

#include "shop/RechargeOutcome.h"

using namespace vpsdesk::shop;

TEST(RechargeOutcome, EmptyFieldsAreRefusedBeforeAnyRequest) {
    EXPECT_EQ(CheckRechargeInput("", "").error, "账号不能为空");
    EXPECT_EQ(CheckRechargeInput("", "10").error, "账号不能为空");
    EXPECT_EQ(CheckRechargeInput("demo", "").error, "金额不能为空");
    // The amount is the platform's to judge.
    EXPECT_EQ(CheckRechargeInput("demo", "abc"), RechargeOutcome{});
}

TEST(RechargeOutcome, OnlyAWebAddressIsOpened) {
    struct Case {
        const char* reply;
        const char* address;  // empty: "充值失败" and the window stays
    };
    const Case cases[] = {
        {"https://pay.example/user/pay/page?order=ab",
         "https://pay.example/user/pay/page?order=ab"},
        {"HTTP://pay.example/p", "HTTP://pay.example/p"},
        {"\r\nhttps://pay.example/p\r\n", "https://pay.example/p"},
        {"", ""},
        {"https://", ""},
        {"file:///etc/passwd", ""},
        {"/usr/bin/xterm", ""},
        {"<html>500</html>", ""},
        {"https://a.example/x https://b.example/y", ""},
    };
    for (const Case& c : cases) {
        const RechargeOutcome got = ReadPaymentReply(c.reply);
        EXPECT_EQ(got.address, c.address) << c.reply;
        EXPECT_EQ(got.error, *c.address ? "" : "充值失败") << c.reply;
    }
}
