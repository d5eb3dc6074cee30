// The updater image the client carries, written out and run the way the client runs it.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "Platform.h"
#include "UpdaterFixture.h"
#include "updater/UpdaterImage.h"

extern char** environ;

namespace updatertest {
namespace {

using namespace std::chrono_literals;

// Polls until `done` or a generous limit; the limit only keeps a broken build from
// hanging the suite.
template <typename Done>
bool PollFor(Done done) {
    for (int i = 0; i < 1200; ++i) {
        if (done()) return true;
        std::this_thread::sleep_for(100ms);
    }
    return done();
}

TEST_F(UpdaterTest, WrittenOutUpdaterReplacesAndStartsTheClient) {
    auto image = vpsdesk::UpdaterImage();
    ASSERT_GT(image.size(), 4u);
    ASSERT_EQ(std::string(image.begin(), image.begin() + 4), "\x7F" "ELF");
    const std::filesystem::path updater = folder_ / "update";
    WriteAll(updater, std::string(image.begin(), image.end()), 0755);

    std::filesystem::path served_folder = MakeTempFolder();
    // Written whole, then renamed, so the test never reads half a marker.
    const std::string new_client = "#!/bin/sh\npwd > started.part && mv started.part started\n";
    WriteAll(served_folder / "vpsdesk", new_client);
    platformd::PlatformOptions options;
    options.update_file = (served_folder / "vpsdesk").string();
    platformd::Platform platform(options);
    int port = platform.Start();
    WriteSettings("https://127.0.0.1:" + std::to_string(port) + "/khd?act=", platform.CaPath());

    // Started as the client starts it: no arguments, from another folder.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::string path = updater.string();
    char* argv[] = {path.data(), nullptr};
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv, environ), 0);
    int status = -1;
    bool exited = PollFor([&] { return waitpid(pid, &status, WNOHANG) == pid; });
    if (!exited) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    platform.Stop();
    std::filesystem::remove_all(served_folder);
    ASSERT_TRUE(exited) << "the updater did not end (a failure message box waits?)";
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);

    EXPECT_EQ(ReadAll(client_), new_client);
    EXPECT_TRUE(PollFor([&] { return std::filesystem::exists(folder_ / "started"); }));
    EXPECT_EQ(ReadAll(folder_ / "started"), folder_.string() + "\n");
}

}  // namespace
}  // namespace updatertest
