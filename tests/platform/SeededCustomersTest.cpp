// The many customers a load run needs, seeded beside the demo data.
#include <set>

#include "PlatformFixture.h"

namespace platformd::test {
namespace {

constexpr int kCustomers = 3;

class SeededCustomersTest : public PlatformTest {
  protected:
    void SetUp() override {
        PlatformOptions options;
        options.demo = true;
        options.customers = kCustomers;
        options.control_token = kToken;
        options.threads = 8;
        platform_ = std::make_unique<Platform>(options);
        port_ = platform_->Start();
    }
};

TEST_F(SeededCustomersTest, EachSignsInAsHimselfAndSeesHisOwnRunningServer) {
    std::set<std::string> server_ids;
    for (int n = 1; n <= kCustomers; ++n) {
        SCOPED_TRACE(Demo::CustomerName(n));
        auto client = SignedIn(Demo::CustomerName(n));
        const auto page = Json(ServerPage(*client, 1));
        EXPECT_EQ(page.GetText("count"), "1");
        EXPECT_EQ(page.GetText("data[0].status"), "运行中");
        server_ids.insert(page.GetText("data[0].id"));
        const auto profile = Json(client->Get("/user/userinfo"));
        EXPECT_EQ(profile.GetText("data.username"), Demo::CustomerName(n));
        EXPECT_EQ(profile.GetText("data.VerificationResult"), "1");
        // What a load run does with his server: a restart and a remark.
        EXPECT_EQ(
            Json(client->Get("/user/data/vpscz?id=" + page.GetText("data[0].id") + "&cz=reset"))
                .GetText("status"),
            "200");
        EXPECT_EQ(client
                      ->Post("/user/data/vpsbz", Form({{"username", Demo::CustomerName(n)},
                                                       {"password", Demo::kPassword},
                                                       {"id", page.GetText("data[0].id")},
                                                       {"bz", "备注"}}))
                      .Text(),
                  "1000");
    }
    EXPECT_EQ(server_ids.size(), static_cast<size_t>(kCustomers));
}

TEST_F(SeededCustomersTest, TheDemoDataStaysAsItWasAndNoMoreCustomersThanAsked) {
    EXPECT_EQ(Json(ServerPage(*SignedIn(), 1)).GetText("count"), "7");
    EXPECT_EQ(NewClient()->Login(Demo::CustomerName(kCustomers + 1), Demo::kPassword, kToken),
              "1001");
}

}  // namespace
}  // namespace platformd::test
