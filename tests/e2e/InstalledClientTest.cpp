// The client as the package installs it (/usr/bin/vpsdesk): it signs in, keeps its files in
// the per-user data folder, and leaves a new version to the package manager. These run
// only when VPSDESK_INSTALLED_BIN names the installed programs' folder, after the package
// is installed; scripts/test.sh does that.
#include <gtest/gtest.h>
#include <signal.h>

#include "ClientProcess.h"
#include "E2eSupport.h"
#include "platform/SettingsFiles.h"

namespace e2e {
namespace {

class InstalledClient : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = InstalledPrograms();
        if (!folder_)
            GTEST_SKIP() << "VPSDESK_INSTALLED_BIN is not set: no installed package to check";
        platform_ =
            std::make_unique<Platform>(root_ / "platform", std::vector<std::string>{"--demo"});
        client_ = std::make_unique<ClientProcess>(root_.Path(), *folder_ / "vpsdesk");
        vpsdesk::platform::AccountSettingsFile settings(client_->Documents(),
                                                        platform_->Command("biaoti"));
        ASSERT_TRUE(settings.SaveRememberedLogin(true, "demo", "demo2026"));
        ASSERT_TRUE(settings.SaveAutoLogin(true));
    }

    void StartAndReachTheMainWindow() {
        client_->Start({"--site", platform_->Site(), "--ca-file", platform_->Ca()});
        ASSERT_TRUE(PollFor([&] {
            return client_->Logged("main-window-opened") || !client_->Process().Running();
        })) << client_->Err();
        ASSERT_TRUE(client_->Logged("main-window-opened")) << client_->Err();
    }

    fs::path UserData() const { return client_->Home() / ".local/share/vpsdesk"; }

    TempFolder root_;
    std::optional<fs::path> folder_;
    std::unique_ptr<Platform> platform_;
    std::unique_ptr<ClientProcess> client_;
};

TEST_F(InstalledClient, SignsInAndKeepsItsFilesInTheUserDataFolder) {
    StartAndReachTheMainWindow();
    EXPECT_TRUE(fs::exists(UserData() / "更新配置.ini"));
    EXPECT_TRUE(fs::exists(UserData() / "update"));
    EXPECT_TRUE(fs::is_directory(UserData() / "History"));
    // Nothing beside the installed program, even when root runs it.
    for (const char* name : {"更新配置.ini", "update", "History", "config.ini"})
        EXPECT_FALSE(fs::exists(*folder_ / name)) << name;
    client_->Process().Signal(SIGTERM);
    EXPECT_EQ(client_->Process().WaitExitCode(), 0) << client_->Err();
}

TEST_F(InstalledClient, ANewVersionIsLeftToThePackageManagerAndTheClientStarts) {
    platform_->Control("version", "4.93");
    StartAndReachTheMainWindow();
    EXPECT_TRUE(client_->Logged("message 有新版本更新\n请使用系统的软件包管理器更新本程序"))
        << ReadAll(client_->Log());
    client_->Process().Signal(SIGTERM);
    EXPECT_EQ(client_->Process().WaitExitCode(), 0) << client_->Err();
}

}  // namespace
}  // namespace e2e
