// vpsctl's server commands against the demo platform: the list in table and JSON form,
// and the operations on one server with the statuses a script relies on.
#include "VpsctlFixture.h"
#include "cli/TextTable.h"
#include "net/Text.h"

namespace vpsdesk::cli::test {
namespace {

// The screen column at which `cell` starts on `line`.
std::size_t ColumnOf(const std::string& line, const std::string& cell) {
    const std::size_t at = line.find(cell);
    return at == std::string::npos ? std::string::npos : DisplayWidth(line.substr(0, at));
}

TEST_F(VpsctlTest, ServersListsOnePageAsAnAlignedTable) {
    const CommandResult result = Run({"servers"});
    ASSERT_EQ(result.exit_code, kExitDone) << result.err;
    const std::vector<std::string> lines = net::SplitText(result.out, "\n");
    ASSERT_EQ(lines.size(), 6u) << result.out;  // the header and five servers
    EXPECT_EQ(result.err, "page 1 of 2; --page 2 for the next, --all for every server\n");
    EXPECT_EQ(Run({"servers", "--page", "2"}).err, "") << "the last page";
    const CommandResult past = Run({"servers", "--page", "9"});
    EXPECT_EQ(past.exit_code, kExitDone);
    EXPECT_EQ(past.out, "") << "not the notice of an account without servers";
    EXPECT_EQ(past.err, "page 9 is past the last page, 2\n");
    const std::size_t address = ColumnOf(lines[0], "IP/远程地址");
    const std::size_t status = ColumnOf(lines[0], "状态");
    for (std::size_t i = 1; i < lines.size(); ++i) {
        EXPECT_EQ(ColumnOf(lines[i], "127.0.0.1:3389"), address) << lines[i];
        const std::size_t running = ColumnOf(lines[i], "运行中");
        EXPECT_EQ(running == std::string::npos ? ColumnOf(lines[i], "已") : running, status)
            << lines[i];
    }
    EXPECT_NE(lines[4].find("显卡云服务器"), std::string::npos);
    EXPECT_NE(lines[2].find("数据库"), std::string::npos);
}

TEST_F(VpsctlTest, ServersAsJsonKeepTheirKeysOnEveryPage) {
    const nlohmann::json first = Json(Run({"servers", "--json"}));
    EXPECT_EQ(first["count"], 7);
    EXPECT_EQ(first["page_count"], 2);
    EXPECT_EQ(first["page"], 1);
    ASSERT_EQ(first["servers"].size(), 5u);
    const nlohmann::json& server = first["servers"][0];
    for (const char* key :
         {"id", "product_type", "name", "address", "status", "configuration", "expiry", "remark"})
        EXPECT_TRUE(server[key].is_string()) << key;
    EXPECT_EQ(server["name"], "vps10001");
    EXPECT_FALSE(server.contains("password"));

    const nlohmann::json second = Json(Run({"servers", "--page", "2", "--json"}));
    ASSERT_EQ(second["servers"].size(), 2u);
    EXPECT_EQ(second["servers"][1]["remark"], "");
    const nlohmann::json all = Json(Run({"servers", "--all", "--json"}));
    ASSERT_EQ(all["servers"].size(), 7u);
    EXPECT_FALSE(all.contains("page"));
    EXPECT_EQ(all["servers"][5], second["servers"][0]);
    EXPECT_EQ(net::SplitText(Run({"servers", "--all"}).out, "\n").size(), 8u);
}

TEST_F(VpsctlTest, AnAccountWithoutServersSaysSo) {
    Control("script?path=/user/data/vpslist&count=1", R"({"count":0,"data":[]})");
    const CommandResult result = Run({"servers"});
    EXPECT_EQ(result.exit_code, kExitDone);
    EXPECT_EQ(result.out, "没有开通的云服务器\n");
    EXPECT_EQ(result.err, "");
}

TEST_F(VpsctlTest, AllStopsAtTheFirstEmptyPageWhateverCountIsClaimed) {
    Control("script?path=/user/data/vpslist&count=3", R"({"count":50000,"data":[]})");
    Control("clear");
    const nlohmann::json all = Json(Run({"servers", "--all", "--json"}));
    EXPECT_EQ(all["count"], 50000);
    EXPECT_EQ(all["servers"].size(), 0u);
    const nlohmann::json log = nlohmann::json::parse(Control("requests", {}, false));
    std::size_t pages = 0;
    for (const auto& request : log["data"])
        pages += request["path"].get<std::string>().starts_with("/user/data/vpslist");
    EXPECT_EQ(pages, 1u);
}

struct OperationCase {
    const char* name;
    std::vector<std::string> words;
    int exit_code;
    const char* out;
    const char* err;
};

TEST_F(VpsctlTest, OperationsTellDoneFromRefusedWithThePlatformsWords) {
    const OperationCase cases[] = {
        {"restart", {"restart", "1"}, kExitDone, "操作成功，请耐心等待\n", ""},
        {"restart of another's server", {"restart", "8"}, kExitRefused, "",
         "{\"status\":404,\"data\":\"服务器不存在\"}\n"},
        {"remark", {"remark", "3", "备份机"}, kExitDone, "设置成功\n", ""},
        {"refund of an expired server", {"refund", "5"}, kExitRefused, "",
         "已到期的服务器不能退款\n"},
        {"refund", {"refund", "1"}, kExitDone, "申请成功，请等待客服审核\n", ""},
        {"refund again", {"refund", "1"}, kExitRefused, "",
         "该服务器已提交退款申请，请勿重复提交\n"},
    };
    for (const OperationCase& c : cases) {
        const CommandResult result = Run(c.words);
        EXPECT_EQ(result.exit_code, c.exit_code) << c.name;
        EXPECT_EQ(result.out, c.out) << c.name;
        EXPECT_EQ(result.err, c.err) << c.name;
    }
    const nlohmann::json servers = Json(Run({"servers", "--json"}));
    EXPECT_EQ(servers["servers"][2]["remark"], "备份机");
}

TEST_F(VpsctlTest, RenewSpendsOnlyWhenConfirmed) {
    const std::vector<std::string> renew = {"renew", "2", "--period", "month"};
    // No terminal and no --yes: refused before anything is asked or spent.
    const CommandResult piped = Run(renew);
    EXPECT_EQ(piped.exit_code, kExitUsage);
    EXPECT_NE(piped.err.find("--yes"), std::string::npos);
    EXPECT_EQ(Balance(), "500.00元\n");

    // On a terminal: a no spends nothing, a yes renews.
    console_.terminal = true;
    console_.answers = {"demo2026", "n"};
    EXPECT_EQ(RunVpsctl(Args({"--account", "demo", "renew", "2", "--period=month"}), console_)
                  .exit_code,
              kExitRefused);
    EXPECT_NE(console_.asked.back().prompt.find("60元"), std::string::npos)
        << console_.asked.back().prompt;
    EXPECT_TRUE(console_.asked.back().echo);
    EXPECT_EQ(Balance(), "500.00元\n");
    console_.answers = {"demo2026", "y"};
    const CommandResult confirmed =
        RunVpsctl(Args({"--account", "demo", "renew", "2", "--period=month"}), console_);
    EXPECT_EQ(confirmed.exit_code, kExitDone) << confirmed.err;
    EXPECT_EQ(confirmed.out, "续费成功\n");
    EXPECT_EQ(Balance(), "440.00元\n");

    // --yes asks nothing.
    console_.terminal = false;
    console_.asked.clear();
    const CommandResult yes = Run({"renew", "2", "--period", "day", "--yes"});
    EXPECT_EQ(yes.exit_code, kExitDone) << yes.err;
    EXPECT_EQ(console_.asked.size(), 1u);  // the password only
}

TEST_F(VpsctlTest, RenewRefusalsComeFromTheBalanceAndThePlatform) {
    const OperationCase cases[] = {
        {"balance too low", {"renew", "8", "--period", "month", "--yes"}, kExitRefused, "",
         "余额不足\n"},
        {"period not offered", {"renew", "1", "--period", "day", "--yes"}, kExitRefused, "",
         "renew: server 1 cannot be renewed by one day\n"},
    };
    const OperationCase& low = cases[0];
    const CommandResult poor = RunAs("13900139000", low.words);
    EXPECT_EQ(poor.exit_code, low.exit_code) << low.name;
    EXPECT_EQ(poor.err, low.err) << low.name;
    const OperationCase& day = cases[1];
    const CommandResult result = Run(day.words);
    EXPECT_EQ(result.exit_code, day.exit_code) << day.name;
    EXPECT_EQ(result.err, day.err) << day.name;
    // A server under refund: the platform's own refusal.
    ASSERT_EQ(Run({"refund", "7"}).exit_code, kExitDone);
    const CommandResult refunded = Run({"renew", "7", "--period", "month", "--yes"});
    EXPECT_EQ(refunded.exit_code, kExitRefused);
    EXPECT_EQ(refunded.err, "退款审核中的服务器不能续费\n");
    EXPECT_EQ(Balance(), "500.00元\n");
}

}  // namespace
}  // namespace vpsdesk::cli::test
