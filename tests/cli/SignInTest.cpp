// vpsctl's one sign-in per process: the named account with its password from the console,
// or the account the window client remembered; and the statuses when it cannot.
#include "VpsctlFixture.h"
#include "net/WebRequest.h"
#include "os/DocumentsFolder.h"
#include "platform/PlatformApi.h"
#include "platform/SettingsFiles.h"

namespace vpsdesk::cli::test {
namespace {

namespace fs = std::filesystem;

TEST_F(VpsctlTest, ThePasswordIsAskedWithoutEchoAndAWrongOneIsRefused) {
    console_.terminal = true;
    const CommandResult good = Run({"balance"});
    EXPECT_EQ(good.exit_code, kExitDone) << good.err;
    ASSERT_EQ(console_.asked.size(), 1u);
    EXPECT_FALSE(console_.asked[0].echo);
    EXPECT_NE(console_.asked[0].prompt.find("demo"), std::string::npos);

    const CommandResult wrong = RunAs("demo", {"balance"}, "demo2025");
    EXPECT_EQ(wrong.exit_code, kExitRefused);
    EXPECT_EQ(wrong.err, "用户或密码不正确\n");
    EXPECT_EQ(wrong.out, "");
}

TEST_F(VpsctlTest, WithoutAPasswordOnTheConsoleNothingIsSent) {
    const CommandResult result =
        RunVpsctl(Args({"--account", "demo", "restart", "1"}), console_);  // no answer scripted
    EXPECT_EQ(result.exit_code, kExitUsage);
    EXPECT_NE(result.err.find("no password"), std::string::npos);
}

struct RememberedCase {
    const char* name;
    bool remember;
    const char* account;
    int exit_code;
    const char* out;
    const char* err;
};

TEST_F(VpsctlTest, WithoutAccountTheOneTheClientRememberedSignsIn) {
    char pattern[] = "/tmp/vpsctl-docs-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const fs::path documents = pattern;
    os::OverrideDocumentsFolder(documents);
    platform::SiteConstants site{site_, "Ver 4.92"};
    const std::string title = platform::FetchCommand(site, "biaoti");
    ASSERT_FALSE(title.empty());
    const platform::AccountSettingsFile file(documents, title);

    const RememberedCase cases[] = {
        {"remembered", true, "demo", kExitDone, "500.00元\n", ""},
        {"not remembered", false, "demo", kExitUsage, "", "use --account NAME\n"},
        // The remembered sign-in is the silent one: its failure reads as the client's.
        {"remembered, password since changed", true, "13900139000", kExitRefused, "",
         "自动登录失效\n"},
    };
    for (const RememberedCase& c : cases) {
        ASSERT_TRUE(file.SaveRememberedLogin(c.remember, c.account,
                                             c.exit_code == kExitRefused ? "old" : "demo2026"));
        const CommandResult result = RunVpsctl(Args({"balance"}), console_);
        EXPECT_EQ(result.exit_code, c.exit_code) << c.name << ": " << result.err;
        EXPECT_EQ(result.out, c.out) << c.name;
        EXPECT_TRUE(result.err.ends_with(c.err)) << c.name << ": " << result.err;
    }
    EXPECT_TRUE(console_.asked.empty());
    os::OverrideDocumentsFolder({});
    fs::remove_all(documents);
}

TEST_F(VpsctlTest, NoAnswerAndAnUntrustedCertificateEndWithStatusThree) {
    const std::string closed_site = "127.0.0.1:1";
    console_.answers = {"demo2026", "demo2026"};
    const CommandResult closed =
        RunVpsctl({"--site", closed_site, "--account", "demo", "balance"}, console_);
    EXPECT_EQ(closed.exit_code, kExitNetwork);
    EXPECT_EQ(closed.err, std::string(kNoAnswerText) + "\n");
    // Without --account the platform's title names the remembered account's file: no title,
    // no sign-in, and the same status rather than "nothing remembered".
    const CommandResult no_title = RunVpsctl({"--site", closed_site, "balance"}, console_);
    EXPECT_EQ(no_title.exit_code, kExitNetwork) << no_title.err;
    // Certificates are always verified: the platform's own CA is not trusted by the system.
    net::SetTlsSettings({});
    const CommandResult untrusted = RunVpsctl({"--site", site_, "--account", "demo", "balance"}, console_);
    EXPECT_EQ(untrusted.exit_code, kExitNetwork);
    EXPECT_EQ(untrusted.out, "");
}

}  // namespace
}  // namespace vpsdesk::cli::test
