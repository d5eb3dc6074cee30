// The real process launcher: arguments arrive unchanged, standard input carries the bytes
// and then ends, output can go to a file, a missing program is told apart, a child that
// ended is reaped without anyone waiting for it, and a watched child's lines and end
// reach the watcher.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

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

// What a watching test sees: the lines and the end, handed over from the watching thread.
struct Watched {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::string> lines;
    std::optional<ProgramEnd> end;

    void Watch(LaunchRequest& request) {
        request.on_output_line = [this](std::string_view line) {
            std::lock_guard lock(mutex);
            lines.emplace_back(line);
        };
        request.on_end = [this](const ProgramEnd& ended) {
            std::lock_guard lock(mutex);
            end = ended;
            changed.notify_all();
        };
    }
    // Bounded only so that a broken launcher fails instead of hanging the suite.
    bool WaitForEnd() {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(60), [this] { return end.has_value(); });
    }
};

TEST_F(ProcessLauncherTest, AWatchedProgramsLinesAndExitCodeArriveAndItsOutputIsKept) {
    Watched watched;
    LaunchRequest request;
    request.program = "sh";
    request.arguments = {"-c", "printf 'one\\ntwo\\n' ; printf 'err\\n' >&2; printf tail; exit 147"};
    request.output_file = dir_ / "out.txt";
    watched.Watch(request);
    const LaunchResult result = SystemProcessLauncher()->Launch(request);
    ASSERT_EQ(result.status, LaunchStatus::kStarted);
    ASSERT_TRUE(watched.WaitForEnd());
    std::lock_guard lock(watched.mutex);
    EXPECT_EQ(watched.lines, (std::vector<std::string>{"one", "two", "err", "tail"}));
    EXPECT_TRUE(watched.end->exited);
    EXPECT_EQ(watched.end->exit_code, 147);
    EXPECT_EQ(Bytes(dir_ / "out.txt"), "one\ntwo\nerr\ntail");
    EXPECT_TRUE(GoneWithin(result.pid, std::chrono::seconds(30)));  // reaped by the watcher
}

TEST_F(ProcessLauncherTest, AWatchedProgramEndedByASignalSaysWhichAndALongLineComesInPieces) {
    Watched watched;
    LaunchRequest request;
    request.program = "sh";
    request.arguments = {"-c", "head -c " + std::to_string(kMaxOutputLine + 5) +
                                   " /dev/zero | tr '\\0' x; echo; kill -SEGV $$"};
    watched.Watch(request);
    ASSERT_EQ(SystemProcessLauncher()->Launch(request).status, LaunchStatus::kStarted);
    ASSERT_TRUE(watched.WaitForEnd());
    std::lock_guard lock(watched.mutex);
    EXPECT_EQ(watched.lines,
              (std::vector<std::string>{std::string(kMaxOutputLine, 'x'), "xxxxx"}));
    EXPECT_FALSE(watched.end->exited);
    EXPECT_EQ(watched.end->signal, SIGSEGV);
}

TEST_F(ProcessLauncherTest, AWatchedProgramThatCannotStartIsAFailureWithoutAnEnd) {
    Watched watched;
    LaunchRequest request;
    request.program = "vpsdesk-no-such-program";
    watched.Watch(request);
    EXPECT_EQ(SystemProcessLauncher()->Launch(request).status, LaunchStatus::kNotFound);
    request.program = "true";
    request.output_file = dir_ / "no-such-folder" / "out.txt";
    EXPECT_EQ(SystemProcessLauncher()->Launch(request).status, LaunchStatus::kFailed);
    std::lock_guard lock(watched.mutex);
    EXPECT_FALSE(watched.end.has_value());
}

}  // namespace
