// A customer's whole visit: sign in, list, restart, renew, buy, redeem, finance pages.
#include "PlatformFixture.h"
#include "net/Text.h"

namespace platformd::test {
namespace {

using vpsdesk::net::TextToInt;

long long Balance(TestClient& client) {
    vpsdesk::net::JsonDocument doc;
    doc.Parse(client.Get("/user/userinfo").Text());
    return TextToInt(doc.GetText("data.usermoney"));
}

class JourneyTest : public PlatformTest {};

TEST_F(JourneyTest, SignInListAndPages) {
    auto client = SignedIn();
    EXPECT_EQ(Json(client->Get("/user/data/usernmae")).GetText("data.username"), "demo");
    auto info = Json(client->Get("/user/userinfo"));
    EXPECT_EQ(info.GetText("data.VerificationResult"), "1");
    EXPECT_EQ(info.GetText("data.truename"), "张三");

    Reply first = ServerPage(*client, 1);
    auto page1 = Json(first);
    EXPECT_EQ(page1.GetText("count"), "7");
    EXPECT_EQ(page1.Count("data"), 5u);
    // Every element carries the member the client counts rows by.
    size_t rows = 0;
    for (long p = vpsdesk::net::FindText(first.Text(), "VPStypeID"); p > 0;
         p = vpsdesk::net::FindText(first.Text(), "VPStypeID", p + 1)) {
        ++rows;
    }
    EXPECT_EQ(rows, 5u);
    auto page2 = Json(ServerPage(*client, 2));
    EXPECT_EQ(page2.Count("data"), 2u);
    EXPECT_EQ(page2.GetText("data[1].id"), "7");
    // Pages beyond the end still tell the total.
    auto page3 = Json(ServerPage(*client, 3));
    EXPECT_EQ(page3.GetText("count"), "7");
    EXPECT_EQ(page3.Count("data"), 0u);
    EXPECT_EQ(Json(ServerPage(*client, 0)).GetText("data[0].id"), "1");
    Reply huge =
        client->PostBytes("/user/data/vpslist?page=99999999999999999999&limit=5&ljs=1", "");
    EXPECT_EQ(Json(huge).Count("data"), 0u);
    // Every address is on this machine.
    for (int page : {1, 2}) {
        auto doc = Json(ServerPage(*client, page));
        for (size_t i = 0; i < doc.Count("data"); ++i) {
            EXPECT_TRUE(vpsdesk::net::StartsWithText(
                doc.GetText("data[" + std::to_string(i) + "].ycdz"), "127.0.0.1:"));
        }
    }
}

TEST_F(JourneyTest, RestartShowsWorkingStatusAndRefusesExpired) {
    auto client = SignedIn();
    auto ok = Json(client->Get("/user/data/vpscz?id=1&cz=reset"));
    EXPECT_EQ(ok.GetObject("status").ToText(), "200");
    auto list = Json(ServerPage(*client, 1));
    EXPECT_EQ(list.GetText("data[0].status"), "运行中");
    EXPECT_EQ(list.GetText("data[0].zt"), "重启中");
    // A second restart while the first is under way is refused.
    EXPECT_NE(Json(client->Get("/user/data/vpscz?id=1&cz=reset")).GetObject("status").ToText(),
              "200");
    auto expired = Json(client->Get("/user/data/vpscz?id=5&cz=reset"));
    EXPECT_NE(expired.GetObject("status").ToText(), "200");
    EXPECT_EQ(Json(ServerPage(*client, 1)).GetText("data[4].status"), "已到期");
}

TEST_F(JourneyTest, RenewalMovesBalanceAndWritesRecord) {
    auto client = SignedIn();
    auto prices = Json(client->Post("/user/xfjgb", Form({{"id", "1"}})));
    EXPECT_EQ(prices.GetText("data[0].day"), "0");
    EXPECT_EQ(prices.GetText("data[0].month"), "30");
    std::string end_before = prices.GetText("data[0].endtime");

    long long before = Balance(*client);
    EXPECT_EQ(client->Post("/user/data/xfbuy", Form({{"year", "month"}, {"id", "1"}})).Text(),
              "1000");
    EXPECT_EQ(Balance(*client), before - 30);
    EXPECT_NE(Json(client->Post("/user/xfjgb", Form({{"id", "1"}}))).GetText("data[0].endtime"),
              end_before);
    auto records = Json(client->Get("/user/data/moneylist?page=1&limit=5"));
    EXPECT_EQ(records.GetText("data[0].zhichu"), "30.00");
    EXPECT_TRUE(vpsdesk::net::ContainsText(records.GetText("data[0].forwhat"), "续费"));

    // A period the product does not offer, and more than the balance, are refused
    // readably and cost nothing.
    EXPECT_NE(client->Post("/user/data/xfbuy", Form({{"year", "day"}, {"id", "1"}})).Text(),
              "1000");
    EXPECT_EQ(client->Post("/user/data/xfbuy", Form({{"year", "Annual"}, {"id", "4"}})).Text(),
              "余额不足，请先充值");
    EXPECT_EQ(Balance(*client), before - 30);
}

TEST_F(JourneyTest, CatalogueAndPurchase) {
    auto client = SignedIn();
    auto types = Json(client->Get("/user/cplxlist"));
    ASSERT_EQ(types.GetText("count"), "3");
    EXPECT_EQ(types.GetText("data[1].cplxmc"), "显卡云服务器");
    std::string type_id = Json(client->Post("/user/cplxlist", Form({{"cplxmc", "显卡云服务器"}})))
                              .GetText("data[0].id");
    auto lines = Json(client->Post("/user/xllist", Form({{"lxid", type_id}})));
    ASSERT_EQ(lines.GetText("count"), "1");
    std::string line_id =
        Json(client->Post("/user/xlmchq", Form({{"xlmc", lines.GetText("data[0].xlmc")}})))
            .GetText("data[0].id");
    auto products =
        Json(client->PostBytes("/user/ycplist", "xlid=" + line_id + "&cplxid=" + type_id));
    ASSERT_EQ(products.GetText("count"), "1");
    std::string product = products.GetText("data[0].id");
    auto os = Json(client->Post("/user/ycpos", Form({{"id", product}})));
    ASSERT_GE(TextToInt(os.GetText("count")), 1);
    // The type without products has no lines.
    EXPECT_EQ(Json(client->Post("/user/xllist", Form({{"lxid", "3"}}))).GetText("count"), "0");

    long long before = Balance(*client);
    auto bought = Json(client->Post("/user/data/buy", Form({{"year", "month"},
                                                            {"id", product},
                                                            {"osid", os.GetText("data[0].osid")},
                                                            {"duration", "1"}})));
    EXPECT_EQ(bought.GetObject("status").ToText(), "200");
    EXPECT_EQ(Balance(*client), before - 399);
    auto list = Json(ServerPage(*client, 2));
    EXPECT_EQ(list.GetText("count"), "8");
    EXPECT_EQ(list.GetText("data[2].VPStype"), "显卡云服务器");

    auto broke = Json(client->Post("/user/data/buy", Form({{"year", "Annual"},
                                                           {"id", product},
                                                           {"osid", os.GetText("data[0].osid")},
                                                           {"duration", "1"}})));
    EXPECT_EQ(broke.GetObject("status").ToText(), "402");
    EXPECT_EQ(broke.GetText("data"), "余额不足，请先充值");
}

TEST_F(JourneyTest, CardsAndPaymentPageCreditOnce) {
    auto client = SignedIn();
    long long before = Balance(*client);
    EXPECT_EQ(
        client->Post("/user/pay/czkzf", Form({{"cid", "CZK100001"}, {"cpass", "pass2001"}})).Text(),
        "充值成功");
    EXPECT_EQ(Balance(*client), before + 50);
    EXPECT_NE(
        client->Post("/user/pay/czkzf", Form({{"cid", "CZK100001"}, {"cpass", "pass2001"}})).Text(),
        "充值成功");
    EXPECT_EQ(client->Post("/user/pay/czkzf", Form({{"cid", "卡号"}, {"cpass", "卡密"}})).Text(),
              "卡号或卡密错误");

    std::string url =
        client->Post("/user/zfbzf", Form({{"ORDERMONEY", "20"}, {"USERNAME", "demo"}})).Text();
    ASSERT_TRUE(vpsdesk::net::StartsWithText(url, client->Base() + "/user/pay/page?order="));
    std::string page = client->Get(url.substr(client->Base().size())).Text();
    EXPECT_TRUE(vpsdesk::net::ContainsText(page, "支付"));
    std::string order = url.substr(url.find("order=") + 6);
    EXPECT_EQ(client->PostBytes("/user/pay/confirm", "order=" + order).status, 200);
    EXPECT_EQ(client->PostBytes("/user/pay/confirm", "order=" + order).status, 200);
    EXPECT_EQ(Balance(*client), before + 70);
    EXPECT_EQ(
        client->Post("/user/zfbzf", Form({{"ORDERMONEY", "abc"}, {"USERNAME", "demo"}})).bytes, "");

    auto records = Json(client->Get("/user/data/moneylist?page=1&limit=5"));
    EXPECT_EQ(records.Count("data"), 5u);
    EXPECT_EQ(records.GetText("data[0].shouru"), "20.00");
    EXPECT_EQ(records.GetText("data[1].shouru"), "50.00");
    EXPECT_EQ(Json(client->Get("/user/data/moneylist?page=3&limit=5")).Count("data"), 0u);
}

}  // namespace
}  // namespace platformd::test
