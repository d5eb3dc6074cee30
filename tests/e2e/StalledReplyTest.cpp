// A platform that stops part-way through a reply: the status line, the headers and the
// first bytes of the body arrive, then nothing more. The client's stall limit, shortened
// to a second, ends each wait. The customer hears what the client says when that request
// fails, nothing stored is lost, and the client goes on working.
#include <gtest/gtest.h>
#include <signal.h>

#include "ClientProcess.h"
#include "E2eSupport.h"
#include "SignedInClient.h"
#include "platform/SettingsFiles.h"

namespace e2e {
namespace {

const std::vector<std::string> kShortLimits = {
    "QT_QPA_PLATFORM=offscreen", "VPSDESK_STALL_LIMIT_MS=1000", "VPSDESK_KEEPALIVE_STEP_MS=20"};

// Ends the client the way the desktop does; it must still answer.
void ExpectAnOrderlyEnd(ClientProcess& client) {
    client.Process().Signal(SIGTERM);
    EXPECT_EQ(client.Process().WaitExitCode(), 0) << client.Err();
}

class StalledReply : public ::testing::Test {
  protected:
    StalledReply() : platform_(root_ / "platform", {"--demo"}), client_(root_.Path()) {}

    TempFolder root_;
    Platform platform_;
    ClientProcess client_;
};

TEST_F(StalledReply, TheVersionCheckAtStartUpGivesTheNetworkMessageAndEnds) {
    platform_.StallNextReply("/khd%3Fact%3Dver", "4.92");
    client_.Start({"--site", platform_.Site(), "--ca-file", platform_.Ca()}, kShortLimits);
    const std::optional<int> code = client_.Process().WaitExitCode();
    ASSERT_TRUE(code.has_value()) << "did not end: " << client_.Err();
    EXPECT_NE(*code, 0);
    EXPECT_TRUE(client_.Logged("message 网络初始化失败，请检查网络"));
    EXPECT_FALSE(client_.Logged("有新版本更新"));
    EXPECT_FALSE(client_.Logged("login-window-shown"));
}

TEST_F(StalledReply, TheAutomaticLoginShowsTheNetworkCaptionAndKeepsTheRememberedLogin) {
    RememberDemoLogin(platform_, client_);
    const vpsdesk::platform::AccountSettingsFile settings(client_.Documents(),
                                                          platform_.Command("biaoti"));
    const std::string stored = ReadAll(settings.Path());
    platform_.StallNextReply("/user/khdloginpd", "1000");
    client_.Start({"--site", platform_.Site(), "--ca-file", platform_.Ca()}, kShortLimits);

    ASSERT_TRUE(PollFor([&] {
        return client_.Logged("login-caption") || !client_.Process().Running();
    })) << client_.Err();
    EXPECT_TRUE(client_.Logged("login-caption     网络链接失败")) << EventLog(client_.Log());
    EXPECT_FALSE(client_.Logged("main-window-opened"));
    EXPECT_EQ(ReadAll(settings.Path()), stored);
    const vpsdesk::platform::RememberedLogin remembered = settings.LoadRememberedLogin();
    EXPECT_TRUE(remembered.remember && remembered.auto_login);
    EXPECT_EQ(remembered.account, "demo");
    EXPECT_EQ(remembered.password, "demo2026");
    ExpectAnOrderlyEnd(client_);
}

TEST_F(StalledReply, AListReloadKeepsTheRowsAndTheKeepAliveGoesOn) {
    ASSERT_TRUE(StartSignedIn(platform_, client_, kShortLimits)) << client_.Err();
    // The same shape as the real page, cut off inside its first row.
    platform_.StallNextReply(
        "/user/data/vpslist",
        R"({"count":7,"data":[{"id":10001,"VPStype":"A","VPStypeID":1,"vpsname":"vps10001"}]})");
    const int loads = CountLogged(client_, "server-list-rows");
    // The stalled load and at least two after it.
    ASSERT_TRUE(PollFor([&] {
        return CountLogged(client_, "server-list-rows") >= loads + 3 ||
               !client_.Process().Running();
    })) << client_.Err();
    EXPECT_EQ(CountLogged(client_, "server-list-rows 0"), 0) << EventLog(client_.Log());
    // The list has no message of its own for a failed load; the name requests of the
    // keep-alive went on answering, so the connection was never shown as lost.
    EXPECT_FALSE(client_.Logged("connection-lost"));
    EXPECT_FALSE(client_.Logged("message "));
    ExpectAnOrderlyEnd(client_);
}

}  // namespace
}  // namespace e2e
