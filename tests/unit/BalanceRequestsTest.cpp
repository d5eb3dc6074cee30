// The card, payment and finance requests as the platform receives them.
#include <gtest/gtest.h>

#include "shop/BalanceRequests.h"
#include "shop/CardRedemption.h"
#include "shop/FinanceRecords.h"

using namespace vpsdesk::shop;

TEST(BalanceRequests, EachRequestHasItsVerbPathFormAndRedirectRule) {
    struct Case {
        const char* name;
        BalanceRequest got;
        BalanceRequest expected;
    };
    const Case cases[] = {
        // Clicking "使用" without typing sends the hints themselves.
        {"untouched card boxes",
         RedeemCardRequest(kCardNumberHint, kCardPasswordHint),
         {true, "/user/pay/czkzf", "cid=卡号&cpass=卡密", std::nullopt, ""}},
        {"typed card, not encoded",
         RedeemCardRequest("A 1&2", "p=w"),
         {true, "/user/pay/czkzf", "cid=A 1&2&cpass=p=w", std::nullopt, ""}},
        {"payment page: amount first, redirects not followed",
         PaymentPageRequest("张三", "50.5"),
         {true, "/user/zfbzf", "ORDERMONEY=50.5&USERNAME=张三", true, ""}},
        {"finance page 3",
         FinanceRecordsRequest("3"),
         {false, "/user/data/moneylist?page=3&limit=5", "", std::nullopt, ""}},
        {"finance page 10",
         FinanceRecordsRequest(kFinancePageChoices.back()),
         {false, "/user/data/moneylist?page=10&limit=5", "", std::nullopt, ""}},
    };
    for (const Case& c : cases) EXPECT_EQ(c.got, c.expected) << c.name;
}
