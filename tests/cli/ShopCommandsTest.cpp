// vpsctl's catalogue and purchase against the demo platform.
#include "VpsctlFixture.h"

namespace vpsdesk::cli::test {
namespace {

TEST_F(VpsctlTest, CatalogWalksFromTypesToRegionsToProducts) {
    struct Case {
        const char* name;
        std::vector<std::string> words;
        const char* out;
    };
    const Case cases[] = {
        {"types", {"catalog"}, "云服务器\n显卡云服务器\n挂机宝\n"},
        {"regions", {"catalog", "云服务器"}, "华东一区\n华南二区\n"},
        {"a type without regions", {"catalog", "挂机宝"}, "即将上架\n"},
        {"products",
         {"catalog", "云服务器", "华东一区"},
         "产品型号  CPU  内存   硬盘  带宽  价格     ID  货源  类型\n"
         "标准型S1  2核  4096M  40G   5M    30元/月  1   自营  KVM\n"
         "标准型S2  4核  8192M  80G   10M   60元/月  2   自营  KVM\n"},
    };
    for (const Case& c : cases) {
        const CommandResult result = Run(c.words);
        EXPECT_EQ(result.exit_code, kExitDone) << c.name << ": " << result.err;
        EXPECT_EQ(result.out, c.out) << c.name;
    }
    EXPECT_EQ(Json(Run({"catalog", "--json"}))["types"].size(), 3u);
    EXPECT_EQ(Json(Run({"catalog", "挂机宝", "--json"}))["regions"], nlohmann::json::array());
    const nlohmann::json products = Json(Run({"catalog", "显卡云服务器", "华东一区", "--json"}));
    ASSERT_EQ(products["products"].size(), 1u);
    EXPECT_EQ(products["products"][0],
              nlohmann::json({{"model", "显卡型G1"},
                              {"cpu", "8核"},
                              {"memory", "16384M"},
                              {"disk", "100G"},
                              {"bandwidth", "20M"},
                              {"price", "399元/月"},
                              {"id", "4"},
                              {"source", "自营"},
                              {"kind", "GPU"}}));
}

TEST_F(VpsctlTest, BuyNamesItsSystemAndSpendsOnlyWhenConfirmed) {
    ExpectRefused({
        {"no system", {"buy", "1", "--period", "month", "--yes"}, kExitUsage, "3   Ubuntu 22.04\n"},
        {"a system of another type",
         {"buy", "1", "--period", "month", "--os", "4", "--yes"},
         kExitUsage,
         "no system \"4\""},
        {"a period not sold",
         {"buy", "1", "--period", "day", "--os", "1", "--yes"},
         kExitRefused,
         "not sold by one day"},
        {"no terminal, no --yes",
         {"buy", "1", "--period", "month", "--os", "1"},
         kExitUsage,
         "--yes"},
        {"no period", {"buy", "1", "--os", "1", "--yes"}, kExitUsage, "--period"},
    });
    EXPECT_EQ(Balance(), "500.00元\n");

    console_.terminal = true;
    console_.answers = {"demo2026", "y"};
    const CommandResult bought = RunVpsctl(
        Args({"--account", "demo", "buy", "1", "--period", "month", "--os", "Ubuntu 22.04"}),
        console_);
    EXPECT_EQ(bought.exit_code, kExitDone) << bought.err;
    EXPECT_EQ(bought.out, "开通成功\n");
    EXPECT_NE(console_.asked.back().prompt.find("Ubuntu 22.04 for one month at 30元"),
              std::string::npos)
        << console_.asked.back().prompt;
    EXPECT_EQ(Balance(), "470.00元\n");
    EXPECT_EQ(Json(Run({"servers", "--json"}))["count"], 8);
}

TEST_F(VpsctlTest, BuyShowsThePlatformsRefusal) {
    const CommandResult result =
        RunAs("13900139000", {"buy", "3", "--period", "month", "--os", "1", "--yes"});
    EXPECT_EQ(result.exit_code, kExitRefused);
    EXPECT_EQ(result.err, "请先完成实名认证\n");
    EXPECT_EQ(result.out, "");
}

}  // namespace
}  // namespace vpsdesk::cli::test
