// The purchase window's data and the order as the platform and the customer see them:
// prices and periods, operating systems, the checks, the order's form and its reply.
#include <gtest/gtest.h>

#include "ScriptedCatalogue.h"
#include "shop/PurchaseOffer.h"
#include "shop/PurchaseOrder.h"
#include "shop/PurchaseResult.h"

using namespace vpsdesk::shop;
using vpsdesk::test::ScriptedCatalogue;

namespace {

constexpr const char* kSystems =
    R"({"count":2,"data":[{"osid":3,"osname":"Windows 2012"},{"osid":9,"osname":"CentOS 7"}]})";

}  // namespace

TEST(PurchaseOffer, AsksForPricesThenSystemsWithoutFollowingRedirects) {
    ScriptedCatalogue platform;
    platform.Reply("/user/ycpjgb", R"({"data":[{"day":0,"month":39,"Annual":300}]})");
    platform.Reply("/user/ycpos", kSystems);
    const PurchaseOffer offer = PurchaseOffer::Load(platform.Sender(), "12");

    EXPECT_EQ(platform.SentLines(),
              (std::vector<std::string>{"POST /user/ycpjgb id=12", "POST /user/ycpos id=12"}));
    for (const CatalogueRequest& r : platform.Sent()) EXPECT_EQ(r.no_redirect, true);

    EXPECT_FALSE(offer.quote.Offered(PurchasePeriod::Day));
    EXPECT_TRUE(offer.quote.Offered(PurchasePeriod::Month));
    EXPECT_TRUE(offer.quote.Offered(PurchasePeriod::Year));
    EXPECT_EQ(offer.quote.Fee(kDefaultPeriod), "39元");
    EXPECT_EQ(offer.quote.Fee(PurchasePeriod::Year), "300元");
    EXPECT_EQ(offer.os.Names(), (std::vector<std::string>{"Windows 2012", "CentOS 7"}));
    EXPECT_EQ(offer.os.ChosenName(), "Windows 2012");
    EXPECT_EQ(offer.os.ChosenId(), "3");
}

TEST(PurchaseOffer, PricesDecideWhichPeriodsAreOffered) {
    struct Case {
        const char* reply;
        bool day;
        bool year;
        const char* month_fee;
    };
    const Case cases[] = {
        {R"({"data":[{"day":5,"month":39,"Annual":300}]})", true, true, "39元"},
        {R"({"data":[{"day":"0","month":39,"Annual":""}]})", false, false, "39元"},
        {R"({"data":[{"day":"0.0","month":39}]})", true, false, "39元"},
        {"", false, false, "元"},
        {"<html>", false, false, "元"},
    };
    for (const Case& c : cases) {
        const PurchaseQuote quote = PurchaseQuote::FromReply(c.reply);
        EXPECT_EQ(quote.Offered(PurchasePeriod::Day), c.day) << c.reply;
        EXPECT_EQ(quote.Offered(PurchasePeriod::Year), c.year) << c.reply;
        EXPECT_TRUE(quote.Offered(PurchasePeriod::Month)) << c.reply;
        EXPECT_EQ(quote.Fee(PurchasePeriod::Month), c.month_fee) << c.reply;
    }
}

TEST(PurchaseOrder, CarriesThePeriodProductAndChosenSystem) {
    PurchaseOsChoice os = PurchaseOsChoice::FromReply(kSystems);
    os.Choose(1);
    os.Choose(5);  // outside the list: the second stays chosen
    EXPECT_EQ(os.ChosenName(), "CentOS 7");

    struct Case {
        PurchasePeriod period;
        const char* product_id;
        std::string os_id;
        const char* form;
    };
    const Case cases[] = {
        {PurchasePeriod::Month, "12", "3", "year=month&id=12&osid=3&duration=1"},
        {PurchasePeriod::Year, "12", os.ChosenId(), "year=Annual&id=12&osid=9&duration=1"},
        {PurchasePeriod::Day, "abc", "", "year=day&id=0&osid=&duration=1"},
    };
    for (const Case& c : cases) {
        const CatalogueRequest request = PurchaseOrder{c.product_id, c.os_id, c.period}.Request();
        EXPECT_TRUE(request.post);
        EXPECT_EQ(request.path, "/user/data/buy");
        EXPECT_EQ(request.form, c.form);
        EXPECT_EQ(request.no_redirect, false);
    }
}

TEST(PurchaseOrder, WithoutAnyOsTheOrderStillGoesOutWithAnEmptyId) {
    for (const char* reply : {"", "<html>", R"({"count":0,"data":[]})"}) {
        const PurchaseOsChoice os = PurchaseOsChoice::FromReply(reply);
        EXPECT_TRUE(os.Names().empty()) << reply;
        EXPECT_EQ(os.ChosenId(), "") << reply;
    }
}

TEST(PurchaseOrder, TheChecksComeInOrder) {
    EXPECT_EQ(BuyRefusal(false, ""), "请选择购买的产品");
    EXPECT_EQ(BuyRefusal(true, ""), "请选择地区");
    EXPECT_EQ(BuyRefusal(true, "宿迁"), std::nullopt);
    EXPECT_EQ(OpenRefusal(PurchaseOrder{}), "请选择购买的产品");
    EXPECT_EQ(OpenRefusal(PurchaseOrder{"12", "", PurchasePeriod::Month}), std::nullopt);
}

TEST(PurchaseResult, OnlyTheNumber200Succeeds) {
    struct Case {
        const char* reply;
        bool network_failed;
        bool success;
        const char* data;
    };
    const Case cases[] = {
        {R"({"status":200,"data":"ok"})", false, true, "ok"},
        {R"({"status":"200","data":"x"})", false, false, "x"},
        {R"({"status":500,"data":"x"})", false, false, "x"},
        {R"({"status":500})", false, false, ""},
        {"<html>502</html>", false, false, ""},
        {"", false, false, ""},
        {"", true, false, "网络连接失败，请检查网络后重试"},
    };
    for (const Case& c : cases) {
        const PurchaseResult result = PurchaseResult::FromReply(c.reply, c.network_failed);
        EXPECT_EQ(result.success, c.success) << c.reply;
        EXPECT_EQ(result.data, c.data) << c.reply;
    }
}
