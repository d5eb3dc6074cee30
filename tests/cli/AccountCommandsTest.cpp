// vpsctl's account commands against the demo platform, in table and JSON form.
#include "VpsctlFixture.h"
#include "net/Text.h"

namespace vpsdesk::cli::test {
namespace {

TEST_F(VpsctlTest, BalanceAndProfileShowWhatThePlatformHolds) {
    EXPECT_EQ(Balance(), "500.00元\n");
    EXPECT_EQ(Json(Run({"balance", "--json"})), nlohmann::json({{"balance", "500.00元"}}));

    const CommandResult profile = Run({"profile"});
    ASSERT_EQ(profile.exit_code, kExitDone) << profile.err;
    EXPECT_EQ(profile.out,
              "用户名  demo\n"
              "实名    张三\n"
              "手机    13800138000\n"
              "QQ      10001\n"
              "邮箱    demo@example.com\n"
              "余额    500.00元\n");
    const nlohmann::json json = Json(Run({"profile", "--json"}));
    EXPECT_EQ(json["user_name"], "demo");
    EXPECT_EQ(json["real_name"], "张三");
    EXPECT_EQ(json["balance"], "500.00元");
    const std::vector<std::string> keys = {"user_name", "real_name", "mobile",
                                           "qq",        "email",     "balance"};
    std::vector<std::string> got;
    for (const auto& item : json.items()) got.push_back(item.key());
    std::sort(got.begin(), got.end());
    std::vector<std::string> sorted = keys;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(got, sorted);
    // Not verified yet: the platform's word for it.
    EXPECT_EQ(Json(RunAs("13900139000", {"profile", "--json"}))["real_name"], "未实名");
}

TEST_F(VpsctlTest, FinanceListsOnePageWithItsTotals) {
    const CommandResult table = Run({"finance"});
    ASSERT_EQ(table.exit_code, kExitDone) << table.err;
    const std::vector<std::string> lines = net::SplitText(table.out, "\n");
    ASSERT_EQ(lines.size(), 7u) << table.out;
    EXPECT_EQ(lines[0].rfind("时间", 0), 0u);
    EXPECT_NE(lines[0].find("来源/用途"), std::string::npos);
    EXPECT_EQ(lines[6], "本页总计  收入 ￥200元  支出 ￥509元");

    const nlohmann::json first = Json(Run({"finance", "--json"}));
    EXPECT_EQ(first["page"], 1);
    ASSERT_EQ(first["records"].size(), 5u);
    EXPECT_EQ(first["records"][2]["purpose"], "在线充值");
    EXPECT_EQ(first["records"][2]["income"], "￥200.00");
    EXPECT_EQ(first["income_total"], "200");
    const nlohmann::json second = Json(Run({"finance", "--page", "2", "--json"}));
    EXPECT_EQ(second["page"], 2);
    EXPECT_NE(second["records"], first["records"]);
}

TEST_F(VpsctlTest, NoticesPrintTheLinesOfTheNoticeLine) {
    const CommandResult result = Run({"notices"});
    ASSERT_EQ(result.exit_code, kExitDone) << result.err;
    EXPECT_EQ(result.out,
              "新用户注册即送体验金，实名认证后即可使用\n显卡云服务器限时八折，欢迎选购\n");
}

}  // namespace
}  // namespace vpsdesk::cli::test
