// The payment pages a customer's browser shows: whatever state the order is in, the page
// must load without asking the platform for anything it does not serve, since every such
// miss is an error in the browser's console.
#include "PlatformFixture.h"
#include "net/RegexMatcher.h"
#include "net/Text.h"

namespace platformd::test {
namespace {

class PaymentPageTest : public PlatformTest {
  protected:
    // An order of `amount` for the demo account; returns the page's path.
    std::string NewOrder(TestClient& client, const std::string& amount) {
        const std::string url =
            client.Post("/user/zfbzf", Form({{"ORDERMONEY", amount}, {"USERNAME", "demo"}})).Text();
        EXPECT_TRUE(vpsdesk::net::StartsWithText(url, client.Base()));
        return url.substr(client.Base().size());
    }
    static std::string Order(const std::string& path) {
        return path.substr(path.find("order=") + 6);
    }
};

// Addresses in the page that the browser fetches by itself, plus the icon it asks for when
// the page names none.
std::vector<std::string> FetchedByTheBrowser(const std::string& html) {
    std::vector<std::string> fetched;
    vpsdesk::net::RegexMatcher links;
    links.Create(R"re(<(link|img|script)\b[^>]*\b(href|src)="([^"]*)")re", html);
    for (int i = 1; i <= links.MatchCount(); ++i) fetched.push_back(links.SubMatchText(i, 3).text);
    vpsdesk::net::RegexMatcher icon;
    icon.Create(R"re(<link\b[^>]*\brel="(shortcut )?icon")re", html);
    if (icon.MatchCount() == 0) fetched.push_back("/favicon.ico");
    return fetched;
}

TEST_F(PaymentPageTest, EveryPageLoadsWithoutFurtherRequests) {
    auto client = SignedIn();
    const std::string open = NewOrder(*client, "12.34");
    const std::string paid = NewOrder(*client, "1");
    ASSERT_EQ(client->PostBytes("/user/pay/confirm", "order=" + Order(paid)).status, 200);

    struct Case {
        const char* what;
        Reply reply;
    };
    const Case cases[] = {
        {"an open order", client->Get(open)},
        {"a paid order", client->Get(paid)},
        {"an unknown order", client->Get("/user/pay/page?order=" + std::string(32, 'a'))},
        {"paying", client->PostBytes("/user/pay/confirm", "order=" + Order(open))},
        {"paying again", client->PostBytes("/user/pay/confirm", "order=" + Order(open))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_NE(c.reply.status, 0);
        for (const std::string& address : FetchedByTheBrowser(c.reply.Text())) {
            // Inline data needs no request; anything else must be served.
            if (address.starts_with("data:")) continue;
            EXPECT_EQ(client->Get(address).status, 200) << address;
        }
    }
}

TEST_F(PaymentPageTest, TheOpenOrderShowsTheAccountAndTheAmount) {
    auto client = SignedIn();
    const std::string page = client->Get(NewOrder(*client, "12.34")).Text();
    EXPECT_TRUE(vpsdesk::net::ContainsText(page, "充值账号：demo")) << page;
    EXPECT_TRUE(vpsdesk::net::ContainsText(page, "充值金额：12.34 元")) << page;
    EXPECT_TRUE(vpsdesk::net::ContainsText(page, ">支付</button>")) << page;
}

TEST_F(PaymentPageTest, OrdersAreOnlyForTheSignedInCustomer) {
    auto demo = SignedIn();
    auto second = SignedIn(Demo::kSecondAccount);
    // Another customer's name, an unknown one and none at all get the same empty reply,
    // so the reply tells nothing about which names exist.
    struct Case {
        TestClient* client;
        std::string name;
    };
    const Case cases[] = {
        {demo.get(), Demo::kSecondAccount},
        {demo.get(), "nobody"},
        {demo.get(), ""},
        {second.get(), Demo::kAccount},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(
            c.client->Post("/user/zfbzf", Form({{"ORDERMONEY", "10"}, {"USERNAME", c.name}})).bytes,
            "");
    }
    const std::string url =
        second
            ->Post("/user/zfbzf", Form({{"ORDERMONEY", "10"}, {"USERNAME", Demo::kSecondAccount}}))
            .Text();
    ASSERT_TRUE(vpsdesk::net::StartsWithText(url, second->Base())) << url;
    EXPECT_TRUE(vpsdesk::net::ContainsText(second->Get(url.substr(second->Base().size())).Text(),
                                           std::string("充值账号：") + Demo::kSecondAccount));
}

}  // namespace
}  // namespace platformd::test
