// What every client fetches at start-up, the updater's download, and the replies that a
// caller without a sign-in gets.
#include <filesystem>
#include <fstream>

#include "PlatformFixture.h"
#include "net/Text.h"

namespace platformd::test {
namespace {

class CommandsTest : public PlatformTest {};

TEST_F(CommandsTest, StartupResources) {
    auto client = NewClient();
    const std::string png("\x89PNG\r\n\x1a\n", 8);
    for (const char* image : {"/img/logo.png", "/img/vx.png", "/img/vx2.png"}) {
        EXPECT_EQ(client->Get(image).bytes.substr(0, 8), png) << image;
    }
    EXPECT_NE(client->Get("/img/vx.png").bytes, client->Get("/img/vx2.png").bytes);
    // Notice lines end in CR LF each, so the ticker shows them one by one.
    std::string notices = client->Get("/khd?act=gg").Text();
    EXPECT_EQ(vpsdesk::net::SplitText(notices, "\r\n").size(), 2u);
    EXPECT_TRUE(vpsdesk::net::EndsWithText(notices, "\r\n"));
    EXPECT_FALSE(client->Get("/khd?act=tcgg").Text().empty());
    EXPECT_FALSE(client->Get("/khd?act=help").Text().empty());
}

TEST_F(CommandsTest, DownloadIsMissingUntilConfigured) {
    auto client = NewClient();
    EXPECT_EQ(client->Get("/khd?act=download").status, 404);

    std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("platformd-update-" + std::to_string(::getpid()));
    std::ofstream(file, std::ios::binary) << std::string("new\0client", 10);
    platform_->Stop();
    PlatformOptions options;
    options.update_file = file.string();
    platform_ = std::make_unique<Platform>(options);
    port_ = platform_->Start();
    auto updater = NewClient();
    Reply download = updater->Get("/khd?act=download");
    EXPECT_EQ(download.status, 200);
    EXPECT_EQ(download.bytes, std::string("new\0client", 10));
    std::filesystem::remove(file);
}

TEST_F(CommandsTest, NothingWithoutSignIn) {
    auto client = NewClient();
    for (const char* path :
         {"/user/data/usernmae", "/user/userinfo", "/user/data/moneylist?page=1&limit=5",
          "/user/data/vpscz?id=1&cz=reset"}) {
        auto doc = Json(client->Get(path));
        EXPECT_EQ(doc.GetObject("status").ToText(), "401") << path;
        EXPECT_EQ(doc.GetText("count"), "") << path;
    }
    EXPECT_EQ(Json(ServerPage(*client, 1)).GetText("count"), "");
    auto any = Form({{"id", "1"}});
    EXPECT_NE(client
                  ->Post("/user/data/vpsbz", Form({{"username", "demo"},
                                                   {"password", Demo::kPassword},
                                                   {"id", "1"},
                                                   {"bz", "x"}}))
                  .Text(),
              "1000");
    EXPECT_NE(client->Post("/user/data/xfbuy", Form({{"year", "month"}, {"id", "1"}})).Text(),
              "1000");
    EXPECT_NE(
        client->Post("/user/pay/czkzf", Form({{"cid", "CZK100002"}, {"cpass", "pass3112"}})).Text(),
        "充值成功");
    EXPECT_EQ(client->Post("/user/zfbzf", Form({{"ORDERMONEY", "10"}, {"USERNAME", "demo"}})).bytes,
              "");
    EXPECT_NE(
        Json(client->Post("/user/data/buy",
                          Form({{"year", "month"}, {"id", "1"}, {"osid", "1"}, {"duration", "1"}})))
            .GetObject("status")
            .ToText(),
        "200");
    EXPECT_EQ(Json(client->Post("/user/xfjgb", any)).GetText("data[0].month"), "");
}

TEST_F(CommandsTest, UnverifiedAccountCannotBuyAndExpiredServerRenewsFromToday) {
    auto other = SignedIn(Demo::kSecondAccount);
    auto refused =
        Json(other->Post("/user/data/buy",
                         Form({{"year", "month"}, {"id", "1"}, {"osid", "1"}, {"duration", "1"}})));
    EXPECT_EQ(refused.GetText("data"), "请先完成实名认证");

    auto demo = SignedIn();
    EXPECT_EQ(demo->Post("/user/data/xfbuy", Form({{"year", "day"}, {"id", "6"}})).Text(), "1000");
    auto renewed = Json(ServerPage(*demo, 2));
    EXPECT_EQ(renewed.GetText("data[0].id"), "6");
    // One day from now, not one day after the old expiry weeks ago: running again.
    EXPECT_EQ(renewed.GetText("data[0].status"), "运行中");
    EXPECT_EQ(Json(demo->Get("/user/data/vpscz?id=6&cz=reset")).GetObject("status").ToText(),
              "200");
}

}  // namespace
}  // namespace platformd::test
