// The client's start-up paths that end the process: the hand-over to the updater, no
// platform, no display.
#include <gtest/gtest.h>

#include "ClientProcess.h"
#include "E2eSupport.h"

namespace e2e {
namespace {

// A start that cannot reach the platform: the message, a failed exit, no updater and no
// login window.
void ExpectTheNetworkMessageAndAnEnd(ClientProcess& client) {
    const std::optional<int> code = client.Process().WaitExitCode();
    ASSERT_TRUE(code.has_value()) << "did not end: " << client.Err();
    EXPECT_NE(*code, 0);
    EXPECT_TRUE(client.Logged("message 网络初始化失败，请检查网络"));
    EXPECT_FALSE(client.Logged("有新版本更新"));
    EXPECT_FALSE(client.Logged("login-window-shown"));
}

TEST(Startup, NewVersionHandsOverToTheUpdaterWhichReplacesAndStartsTheClient) {
    TempFolder root;
    // The "new client": proves it was started, and where.
    const std::string new_client = "#!/bin/sh\npwd > started.part && mv started.part started\n";
    WriteAll(root / "served/vpsdesk", new_client);
    Platform platform(root / "platform", {"--update-file", (root / "served/vpsdesk").string()});
    platform.Control("version", "4.93");

    ClientProcess client(root.Path());
    client.Start({"--site", platform.Site(), "--ca-file", platform.Ca()});
    EXPECT_EQ(client.Process().WaitExitCode(), 0) << client.Err();
    EXPECT_TRUE(client.Logged("message 有新版本更新"));
    EXPECT_FALSE(client.Logged("login-window-shown"));

    // Written beside the program, not into the folder it was started from.
    EXPECT_TRUE(fs::exists(client.Install() / "update"));
    EXPECT_FALSE(fs::exists(root / "cwd/update"));
    ASSERT_TRUE(PollFor([&] { return fs::exists(client.Install() / "started"); }))
        << client.Err();
    EXPECT_EQ(ReadAll(client.Install() / "vpsdesk"), new_client);
    EXPECT_EQ(ReadAll(client.Install() / "started"), client.Install().string() + "\n");
}

TEST(Startup, NoPlatformShowsTheNetworkMessageAndEndsWithoutUpdating) {
    TempFolder root;
    ClientProcess client(root.Path());
    client.Start({"--site", "127.0.0.1:" + std::to_string(ClosedLoopbackPort())});
    ExpectTheNetworkMessageAndAnEnd(client);
}

TEST(Startup, APlatformThatNeverAnswersGivesTheNetworkMessageAndEnds) {
    TempFolder root;
    Platform platform(root / "platform", {"--demo"});
    platform.Control("latency?ms=3600000", {}, true);  // accepts, then an hour of silence
    ClientProcess client(root.Path());
    // The stall limit shortened from thirty seconds to one.
    client.Start({"--site", platform.Site(), "--ca-file", platform.Ca()},
                 {"QT_QPA_PLATFORM=offscreen", "VPSDESK_STALL_LIMIT_MS=1000"});
    ExpectTheNetworkMessageAndAnEnd(client);
}

TEST(Startup, AnErrorPageInPlaceOfTheVersionIsNoReplyAndStartsNoUpdater) {
    TempFolder root;
    Platform platform(root / "platform");
    platform.Control("script?path=%2Fkhd%3Fact%3Dver&status=502",
                     "<html><body><h1>502 Bad Gateway</h1></body></html>");

    ClientProcess client(root.Path());
    client.Start({"--site", platform.Site(), "--ca-file", platform.Ca()});
    ExpectTheNetworkMessageAndAnEnd(client);
}

TEST(Startup, WithoutADisplayTheToolkitMessageEndsTheProcess) {
    TempFolder root;
    ClientProcess client(root.Path());
    // Nothing names a display.
    client.Start({"--site", "127.0.0.1:1"}, {});
    std::optional<int> code = client.Process().WaitExitCode();
    ASSERT_TRUE(code.has_value()) << "aborted instead of ending: " << client.Err();
    EXPECT_NE(*code, 0);
    EXPECT_NE(client.Err().find("初始化软件失败! 错误码: 1"), std::string::npos) << client.Err();

    // A display is named but there is no such X server: the platform plugin fails.
    client.Start({"--site", "127.0.0.1:1"}, {"DISPLAY=:9753", "QT_QPA_PLATFORM=xcb"});
    code = client.Process().WaitExitCode();
    ASSERT_TRUE(code.has_value()) << "aborted instead of ending: " << client.Err();
    EXPECT_NE(*code, 0);
    EXPECT_NE(client.Err().find("初始化软件失败! 错误码: 2"), std::string::npos) << client.Err();
}

TEST(Startup, HelpAndVersionAnswerWithoutADisplayAndWriteNothing) {
    TempFolder root;
    ClientProcess client(root.Path());
    client.Start({"--help"}, {});
    EXPECT_EQ(client.Process().WaitExitCode(), 0) << client.Err();
    EXPECT_NE(client.Out().find("usage: vpsdesk [--site HOST[:PORT]] [--ca-file PEM]"),
              std::string::npos)
        << client.Out();
    client.Start({"--version"}, {});
    EXPECT_EQ(client.Process().WaitExitCode(), 0) << client.Err();
    EXPECT_EQ(client.Out(), "vpsdesk " VPSDESK_VERSION " (Ver 4.92)\n");
    EXPECT_FALSE(fs::exists(client.Install() / "update"));
    EXPECT_FALSE(fs::exists(client.Install() / "History"));
}

TEST(Startup, MalformedSiteIsRefusedBeforeAnythingStarts) {
    TempFolder root;
    ClientProcess client(root.Path());
    client.Start({"--site", "https://127.0.0.1/path"});
    EXPECT_EQ(client.Process().WaitExitCode(), 2);
    EXPECT_NE(client.Err().find("--site"), std::string::npos);
    EXPECT_FALSE(fs::exists(client.Install() / "update"));
}

}  // namespace
}  // namespace e2e
