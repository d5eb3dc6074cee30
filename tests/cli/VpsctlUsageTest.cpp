// vpsctl's help and its usage errors: they end with status 2 before any sign-in, so a
// mistyped command never asks for a password nor touches the account.
#include "VpsctlFixture.h"
#include "cli/Command.h"

namespace vpsdesk::cli::test {
namespace {

struct UsageCase {
    const char* name;
    std::vector<std::string> words;
    const char* message;  // a part of stderr
};

const UsageCase kUsageCases[] = {
    {"no command", {}, "usage: vpsctl"},
    {"unknown command", {"reboot", "1"}, "unknown command \"reboot\""},
    {"unknown option", {"servers", "--long"}, "unknown option --long"},
    {"option of another command", {"balance", "--page", "2"}, "balance does not take --page"},
    {"missing id", {"restart"}, "usage: vpsctl restart ID"},
    {"extra word", {"refund", "1", "2"}, "unexpected argument \"2\""},
    {"remark without text", {"remark", "1"}, "missing argument"},
    {"page zero", {"servers", "--page", "0"}, "--page expects a number from 1"},
    {"page not a number", {"finance", "--page", "two"}, "--page expects a number from 1"},
    {"page and all", {"servers", "--all", "--page", "2"}, "exclude each other"},
    {"renew without period", {"renew", "1", "--yes"}, "--period expects day, month or year"},
    {"renew by the week", {"renew", "1", "--period", "week", "--yes"}, "--period expects"},
    {"malformed site", {"--site", "a b", "balance"}, "--site"},
};

TEST_F(VpsctlTest, UsageErrorsEndWithStatusTwoBeforeSigningIn) {
    for (const UsageCase& c : kUsageCases) {
        console_.asked.clear();
        const CommandResult result = Run(c.words);
        EXPECT_EQ(result.exit_code, kExitUsage) << c.name;
        EXPECT_EQ(result.out, "") << c.name;
        EXPECT_NE(result.err.find(c.message), std::string::npos) << c.name << ": " << result.err;
        EXPECT_TRUE(console_.asked.empty()) << c.name << ": asked for a password";
        console_.answers.clear();
    }
    EXPECT_EQ(Balance(), "500.00元\n");
}

TEST_F(VpsctlTest, EveryCommandPrintsItsHelpWithoutSigningIn) {
    for (const Command& command : CommandTable()) {
        for (const char* flag : {"--help", "-h"}) {
            const CommandResult result = RunVpsctl({std::string(command.name), flag}, console_);
            EXPECT_EQ(result.exit_code, kExitDone) << command.name;
            EXPECT_EQ(result.out, command.Help());
            EXPECT_EQ(RunVpsctl({"help", std::string(command.name)}, console_).out, command.Help());
        }
    }
    const CommandResult overall = RunVpsctl({"--help"}, console_);
    EXPECT_EQ(overall.exit_code, kExitDone);
    for (const Command& command : CommandTable())
        EXPECT_NE(overall.out.find("  " + std::string(command.name)), std::string::npos);
    EXPECT_NE(overall.out.find("3 network or TLS failure"), std::string::npos);
    EXPECT_TRUE(console_.asked.empty());
    EXPECT_EQ(RunVpsctl({"--version"}, console_).out.rfind("vpsctl ", 0), 0u);
}

}  // namespace
}  // namespace vpsdesk::cli::test
