// The signed-in client as a user runs it: after the automatic login the main window opens
// with the demo servers, and the keep-alive ends the client only after two empty user
// names in a row. The keep-alive's waits are shortened through the test hook so that a
// pass takes a fraction of a second.
#include <gtest/gtest.h>
#include <signal.h>

#include "ClientProcess.h"
#include "E2eSupport.h"
#include "platform/SettingsFiles.h"

namespace e2e {
namespace {

const std::vector<std::string> kFastKeepAlive = {"QT_QPA_PLATFORM=offscreen",
                                                 "VPSDESK_KEEPALIVE_STEP_MS=20"};

class MainWindowE2e : public ::testing::Test {
  protected:
    MainWindowE2e() : platform_(root_ / "platform", {"--demo"}), client_(root_.Path()) {
        vpsdesk::platform::AccountSettingsFile settings(client_.Documents(),
                                                        platform_.Command("biaoti"));
        EXPECT_TRUE(settings.SaveRememberedLogin(true, "demo", "demo2026"));
        EXPECT_TRUE(settings.SaveAutoLogin(true));
    }

    void StartSignedIn() {
        client_.Start({"--site", platform_.Site(), "--ca-file", platform_.Ca()}, kFastKeepAlive);
        ASSERT_TRUE(PollFor([&] {
            return client_.Logged("main-window-opened") || !client_.Process().Running();
        })) << client_.Err();
        ASSERT_TRUE(client_.Logged("main-window-opened")) << client_.Err();
    }

    int NameRequests() {
        const std::string log = platform_.Control("requests", {}, false);
        int count = 0;
        for (std::size_t at = log.find("/user/data/usernmae"); at != std::string::npos;
             at = log.find("/user/data/usernmae", at + 1))
            ++count;
        return count;
    }

    // The next `count` user-name replies are JSON without a name.
    void ScriptEmptyNames(int count) {
        platform_.Control("script?path=/user/data/usernmae&count=" + std::to_string(count),
                          "{\"code\":0}");
    }

    TempFolder root_;
    Platform platform_;
    ClientProcess client_;
};

TEST_F(MainWindowE2e, AutomaticLoginOpensTheMainWindowWithTheDemoServers) {
    StartSignedIn();
    // The navigation's first choice loads the first page: five of the seven demo servers.
    EXPECT_TRUE(PollFor([&] { return client_.Logged("server-list-rows 5"); })) << client_.Err();
    // The window shows once the set-up has also loaded the finance records and the
    // product types, which may come after the list's worker is done.
    EXPECT_TRUE(PollFor([&] { return client_.Logged("main-window-shown"); })) << client_.Err();
    client_.Process().Signal(SIGTERM);
    EXPECT_EQ(client_.Process().WaitExitCode(), 0) << client_.Err();
}

TEST_F(MainWindowE2e, TwoEmptyUserNamesInARowEndTheClientWithTheMessage) {
    StartSignedIn();
    ScriptEmptyNames(2);
    EXPECT_EQ(client_.Process().WaitExitCode(), 0) << client_.Err();
    EXPECT_TRUE(client_.Logged("message 网络连接失败，请重新登录！"));
}

TEST_F(MainWindowE2e, OneEmptyUserNameIsForgivenWhenTheNextOneIsThere) {
    StartSignedIn();
    ScriptEmptyNames(1);
    const int before = NameRequests();
    // The empty pass, then several good ones: long past the point of giving up.
    ASSERT_TRUE(
        PollFor([&] { return NameRequests() >= before + 4 || !client_.Process().Running(); }));
    EXPECT_TRUE(client_.Process().Running()) << client_.Err();
    EXPECT_FALSE(client_.Logged("网络连接失败"));
    client_.Process().Signal(SIGTERM);
    EXPECT_EQ(client_.Process().WaitExitCode(), 0) << client_.Err();
}

}  // namespace
}  // namespace e2e
