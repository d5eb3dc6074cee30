// The real process launcher: arguments arrive unchanged, standard input carries the bytes
// and then ends, output can go to a file, a missing program is told apart, and a child
// that ended is reaped without anyone waiting for it.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "TempFolderTest.h"
#include "os/ProcessLauncher.h"

using namespace vpsdesk::os;

namespace {

// True once `pid` is gone altogether; a zombie still counts as present.
bool GoneWithin(pid_t pid, std::chrono::seconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (kill(pid, 0) != 0 && errno == ESRCH) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

class ProcessLauncherTest : public vpsdesk::test::TempFolderTest {};

TEST_F(ProcessLauncherTest, StandardInputArgumentsAndOutputFileReachTheProgram) {
    LaunchRequest request;
    request.program = "sh";
    request.arguments = {"-c", "cat; printf '|%s|%s|%s' \"$0\" \"$1\" \"$HOME\"", "one two",
                         "\"quoted\" $HOME"};
    request.environment = {"HOME=/elsewhere"};
    request.standard_input = std::string("secret\n\0tail", 12);
    request.output_file = dir_ / "out.txt";
    LaunchResult result = SystemProcessLauncher()->Launch(request);
    ASSERT_EQ(result.status, LaunchStatus::kStarted);
    ASSERT_GT(result.pid, 0);
    ASSERT_TRUE(GoneWithin(result.pid, std::chrono::seconds(30)));  // cat saw the end of input
    EXPECT_EQ(Bytes(dir_ / "out.txt"),
              std::string("secret\n\0tail", 12) + "|one two|\"quoted\" $HOME|/elsewhere");
    EXPECT_EQ(Mode(dir_ / "out.txt"), 0600u);
}

TEST_F(ProcessLauncherTest, RunsInItsOwnSessionWithoutBeingWaitedFor) {
    LaunchRequest request;
    request.program = "/bin/sleep";
    request.arguments = {"30"};
    const auto before = std::chrono::steady_clock::now();
    LaunchResult result = SystemProcessLauncher()->Launch(request);
    ASSERT_EQ(result.status, LaunchStatus::kStarted);
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(10));
    EXPECT_EQ(getsid(result.pid), result.pid);
    kill(result.pid, SIGTERM);
    EXPECT_TRUE(GoneWithin(result.pid, std::chrono::seconds(30)));
}

TEST_F(ProcessLauncherTest, MissingProgramAndOversizedInputAreFailures) {
    LaunchRequest missing;
    missing.program = "vpsdesk-no-such-program";
    EXPECT_EQ(SystemProcessLauncher()->Launch(missing).status, LaunchStatus::kNotFound);
    missing.program = (dir_ / "nothing-here").string();
    EXPECT_EQ(SystemProcessLauncher()->Launch(missing).status, LaunchStatus::kNotFound);

    LaunchRequest big;
    big.program = "true";
    big.standard_input = std::string(kMaxLaunchInput + 1, 'x');
    LaunchResult result = SystemProcessLauncher()->Launch(big);
    EXPECT_EQ(result.status, LaunchStatus::kFailed);
    EXPECT_EQ(result.error, EINVAL);
}

}  // namespace
