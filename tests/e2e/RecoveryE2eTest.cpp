// Password recovery on the platform's web page, in a real browser, as the login window's
// "找回密码" entry sends the customer there: the new password arrives by SMS and signs in.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "E2eSupport.h"
#include "account/LoginApi.h"
#include "account/Recovery.h"
#include "net/JsonDocument.h"
#include "platform/SiteConstants.h"

using namespace e2e;
namespace account = vpsdesk::account;

namespace {

TEST(RecoveryE2e, TheWebPageSendsANewPasswordThatSignsIn) {
    std::string missing;
    const std::optional<BrowserTools> tools = FindBrowserTools(missing);
    if (!tools) GTEST_SKIP() << missing;

    TempFolder root;
    Platform platform(root / "platform", {"--demo"});
    const vpsdesk::platform::SiteConstants site{platform.Site(), "Ver 4.92"};
    const BrowserRun run = RunBrowserScript(
        *tools, "recover.js",
        {"--url", site.BaseUrl() + std::string(account::kRecoveryWebPagePath), "--account",
         "demo", "--mobile", "13800138000"},
        root.Path());
    ASSERT_EQ(run.code, 0) << run.output;

    vpsdesk::net::JsonDocument sms;
    sms.Parse(platform.Control("sms?mobi=13800138000", {}, false));
    const std::string text = sms.GetText("text");
    const std::string marker = "新密码是";
    const std::size_t start = text.find(marker);
    ASSERT_NE(start, std::string::npos) << text;
    const std::size_t from = start + marker.size();
    const std::string password = text.substr(from, text.find("，", from) - from);
    EXPECT_EQ(account::SilentRelogin(site, "demo", password, "E2E"), "1000");
    EXPECT_NE(account::SilentRelogin(site, "demo", "demo2026", "E2E"), "1000");
}

}  // namespace
