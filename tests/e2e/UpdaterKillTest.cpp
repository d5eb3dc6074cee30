// The updater killed at each step of its replacement of the client: whatever step it
// dies in, the install folder holds a whole client, the old one or the new one, and
// that client starts and opens its login window.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include "ClientProcess.h"
#include "E2eSupport.h"
#include "os/ProfileFile.h"
#include "platform/SettingsFiles.h"

namespace e2e {
namespace {

struct KillStep {
    const char* step;
    bool new_client_in_place;
};

class UpdaterKilled : public ::testing::TestWithParam<KillStep> {};

TEST_P(UpdaterKilled, TheNextStartRunsAWholeClient) {
    const KillStep& kill = GetParam();
    TempFolder root;
    const std::string old_client = ReadAll(VPSDESK_BIN);
    // The new build: the same program with a different tail, so it runs and is told apart.
    const std::string new_client = old_client + "\nnew build\n";
    WriteAll(root / "served/vpsdesk", new_client);
    Platform platform(root / "platform",
                      {"--demo", "--update-file", (root / "served/vpsdesk").string()});

    ClientProcess client(root.Path());
    const fs::path updater = client.Install() / "update";
    fs::copy_file(UPDATER_BIN, updater);
    fs::permissions(updater, fs::perms(0755));
    const vpsdesk::platform::UpdateSettingsFile settings(client.Install());
    ASSERT_TRUE(settings.WriteUpdateAddress("https://" + platform.Site() + "/khd?act="));
    ASSERT_TRUE(vpsdesk::os::WriteProfileString(settings.Path(), "更新", "CA文件", platform.Ca()));

    const fs::path paused = root / "paused";
    {
        Child run(
            {{updater.string()},
             {"QT_QPA_PLATFORM=offscreen", std::string("VPSDESK_UPDATER_PAUSE_AT=") + kill.step,
              "VPSDESK_UPDATER_PAUSE_FILE=" + paused.string()},
             client.Install(),
             root / "update.out",
             root / "update.err"});
        ASSERT_TRUE(PollFor([&] { return fs::exists(paused) || !run.Running(); }));
        ASSERT_EQ(ReadAll(paused), kill.step) << ReadAll(root / "update.err");
        run.Signal(SIGKILL);
        EXPECT_EQ(run.WaitExitCode(), std::nullopt);
    }

    const fs::path program = client.Install() / "vpsdesk";
    EXPECT_EQ(ReadAll(program) == new_client, kill.new_client_in_place);
    ASSERT_TRUE(ReadAll(program) == new_client || ReadAll(program) == old_client)
        << "a torn client after a kill at " << kill.step;
    struct stat info {};
    ASSERT_EQ(stat(program.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0755u);

    client.Start({"--site", platform.Site(), "--ca-file", platform.Ca()});
    ASSERT_TRUE(PollFor([&] {
        return client.Logged("login-window-shown") || !client.Process().Running();
    })) << client.Err();
    EXPECT_TRUE(client.Logged("login-window-shown")) << client.Err();
    client.Process().Signal(SIGTERM);
    EXPECT_EQ(client.Process().WaitExitCode(), 0) << client.Err();
}

// In the order the updater takes them.
INSTANTIATE_TEST_SUITE_P(Steps, UpdaterKilled,
                         ::testing::Values(KillStep{"temporary-created", false},
                                           KillStep{"temporary-written", false},
                                           KillStep{"previous-kept", false},
                                           KillStep{"replaced", true}),
                         [](const auto& test) {
                             std::string name;
                             for (const char* c = test.param.step; *c; ++c)
                                 if (*c != '-') name += *c;
                             return name;
                         });

}  // namespace
}  // namespace e2e
