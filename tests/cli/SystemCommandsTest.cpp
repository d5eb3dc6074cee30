// vpsctl's reinstall, passwd and redeem against the demo platform: the secrets they read
// from the console and what the platform answers.
#include "VpsctlFixture.h"

namespace vpsdesk::cli::test {
namespace {

std::string StatusOf(const nlohmann::json& servers, std::size_t row) {
    return servers["servers"][row]["status"].get<std::string>();
}

TEST_F(VpsctlTest, ReinstallNeedsAnOfferedSystemAndNeverGuesses) {
    ExpectRefused({
        {"no system named", {"reinstall", "1"}, kExitUsage, "3   Ubuntu 22.04\n"},
        {"a system of another type",
         {"reinstall", "1", "--os", "4"},
         kExitUsage,
         "no system \"4\""},
        {"an expired server", {"reinstall", "5", "--os", "1"}, kExitRefused, "重置失败\n"},
        {"another customer's server", {"reinstall", "8", "--os", "1"}, kExitRefused, "安装失败\n"},
    });
    EXPECT_EQ(StatusOf(Json(Run({"servers", "--json"})), 0), "运行中");

    const CommandResult by_name = Run({"reinstall", "1", "--os", "Ubuntu 22.04"});
    EXPECT_EQ(by_name.exit_code, kExitDone) << by_name.err;
    EXPECT_EQ(by_name.out, "重置成功，请耐心等待\n");
    const CommandResult by_id = Run({"reinstall", "2", "--os", "2"});
    EXPECT_EQ(by_id.exit_code, kExitDone) << by_id.err;
    const nlohmann::json servers = Json(Run({"servers", "--json"}));
    EXPECT_NE(StatusOf(servers, 0), "运行中");
    EXPECT_NE(StatusOf(servers, 1), "运行中");
}

TEST_F(VpsctlTest, PasswdReadsTheNewPasswordTwiceAndShowsThePlatformsRule) {
    struct Case {
        const char* name;
        std::vector<std::string> lines;
        int exit_code;
        const char* err;
    };
    const Case cases[] = {
        {"accepted", {"Abc12xyz", "Abc12xyz"}, kExitDone, ""},
        {"typed differently", {"Abc12xyz", "Abc12xyZ"}, kExitRefused, "两次密码不一致\n"},
        {"too short", {"abc", "abc"}, kExitRefused, "密码格式错误，请输入6-20位之间的数字与字母\n"},
        {"a run of digits", {"a12345bc", "a12345bc"}, kExitRefused,
         "密码强度过低，请不要输入连号数字\n"},
        {"only once", {"Abc12xyz"}, kExitUsage, "passwd: the new password is read twice from standard input\n"},
    };
    for (const Case& c : cases) {
        console_.asked.clear();
        console_.answers.assign(c.lines.begin(), c.lines.end());
        console_.answers.push_front(platformd::Demo::kPassword);
        const CommandResult result = RunVpsctl(Args({"--account", "demo", "passwd", "1"}), console_);
        EXPECT_EQ(result.exit_code, c.exit_code) << c.name;
        EXPECT_EQ(result.err, c.err) << c.name;
        EXPECT_EQ(result.out, "") << c.name;
        for (const auto& question : console_.asked) EXPECT_FALSE(question.echo) << question.prompt;
    }
}

TEST_F(VpsctlTest, RedeemTopsUpOnceWithTheCardPasswordFromTheConsole) {
    const std::vector<std::string> redeem = {"--account", "demo", "redeem", "CZK100001"};
    console_.answers = {"demo2026", "wrong"};
    const CommandResult wrong = RunVpsctl(Args(redeem), console_);
    EXPECT_EQ(wrong.exit_code, kExitRefused);
    EXPECT_EQ(wrong.err, "卡号或卡密错误\n");

    console_.answers = {"demo2026", "pass2001"};
    const CommandResult good = RunVpsctl(Args(redeem), console_);
    EXPECT_EQ(good.exit_code, kExitDone) << good.err;
    EXPECT_EQ(good.out, "充值成功\n");
    EXPECT_FALSE(console_.asked.back().echo);
    EXPECT_EQ(Balance(), "550.00元\n");

    console_.answers = {"demo2026", "pass2001"};
    EXPECT_EQ(RunVpsctl(Args(redeem), console_).exit_code, kExitRefused);
    EXPECT_EQ(Balance(), "550.00元\n");
}

}  // namespace
}  // namespace vpsdesk::cli::test
