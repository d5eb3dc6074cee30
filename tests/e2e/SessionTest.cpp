// The signed-in client: the remembered automatic login opens the main window, and ending
// the client never waits for (or trips over) a worker inside a request.
#include <gtest/gtest.h>
#include <signal.h>

#include "ClientProcess.h"
#include "E2eSupport.h"
#include "net/Gbk.h"
#include "platform/SettingsFiles.h"

namespace e2e {
namespace {

// The demo account, remembered with the automatic login ticked.
void RememberDemoLogin(Platform& platform, const ClientProcess& client) {
    vpsdesk::platform::AccountSettingsFile settings(client.Documents(), platform.Command("biaoti"));
    ASSERT_TRUE(settings.SaveRememberedLogin(true, "demo", "demo2026"));
    ASSERT_TRUE(settings.SaveAutoLogin(true));
}

// The request reached the platform and the client is still there, waiting for its reply.
bool WaitsForAReplyTo(Platform& platform, ClientProcess& client, const std::string& path) {
    PollFor([&] {
        return platform.Control("requests", {}, false).find(path) != std::string::npos ||
               !client.Process().Running();
    });
    return client.Process().Running();
}

TEST(Session, AutomaticLoginOpensTheMainWindowAndASignalEndsTheClient) {
    TempFolder root;
    Platform platform(root / "platform", {"--demo"});
    ClientProcess client(root.Path());
    RememberDemoLogin(platform, client);
    client.Start({"--site", platform.Site(), "--ca-file", platform.Ca()});

    ASSERT_TRUE(PollFor([&] { return client.Logged("main-window-shown") || !client.Process().Running(); }))
        << client.Err();
    ASSERT_TRUE(client.Logged("login-window-shown"));
    ASSERT_TRUE(client.Logged("main-window-shown")) << client.Err();
    // The keep-alive took over: its first silent re-login reaches the platform.
    EXPECT_TRUE(PollFor([&] { return platform.Control("requests", {}, false).find("/user/data/usernmae") != std::string::npos; }));
    EXPECT_TRUE(fs::is_directory(client.Install() / "History"));

    client.Process().Signal(SIGTERM);
    EXPECT_EQ(client.Process().WaitExitCode(), 0) << client.Err();
}

TEST(Session, EndingWhileAWorkerWaitsForAReplyNeitherHangsNorCrashes) {
    TempFolder root;
    Platform platform(root / "platform", {"--demo"});
    // The automatic login's request gets no reply for ten minutes.
    platform.Control("script?path=/user/khdloginpd&delay_ms=600000", "1000");
    ClientProcess client(root.Path());
    RememberDemoLogin(platform, client);
    client.Start({"--site", platform.Site(), "--ca-file", platform.Ca()});

    ASSERT_TRUE(WaitsForAReplyTo(platform, client, "/user/khdloginpd")) << client.Err();
    client.Process().Signal(SIGTERM);
    EXPECT_EQ(client.Process().WaitExitCode(), 0) << client.Err();
    EXPECT_FALSE(client.Logged("main-window-shown"));
}

TEST(Session, ASignalEndsTheClientWhileTheWindowWaitsForAReply) {
    TempFolder root;
    Platform platform(root / "platform", {"--demo"});
    // The captcha picture is fetched by the login window itself; it never comes.
    platform.Control("script?path=/user/captcha&delay_ms=3600000", "x", true);
    ClientProcess client(root.Path());
    client.Start({"--site", platform.Site(), "--ca-file", platform.Ca()});
    ASSERT_TRUE(WaitsForAReplyTo(platform, client, "/user/captcha")) << client.Err();
    client.Process().Signal(SIGTERM);
    // Bounded well below the stall limit: only the signal can have ended the wait.
    EXPECT_TRUE(PollFor([&] { return !client.Process().Running(); }, std::chrono::seconds(10)));
    EXPECT_EQ(client.Process().WaitExitCode(), 0) << client.Err();
}

}  // namespace
}  // namespace e2e
