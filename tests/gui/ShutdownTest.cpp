#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "ShutdownScenarios.h"

extern char** environ;

using vpsdesk::ui::guitest::kScenarioVariable;

namespace {

// Runs this test binary again as the named scenario and gives its wait status, or -1 when
// it hung. fork and exec rather than QProcess: QProcess starts children with vfork, which
// the thread sanitizer build cannot follow. The limit only keeps a hung child from hanging
// the suite; the scenarios finish in well under a second.
int RunScenario(const std::string& name) {
    const std::string path = QCoreApplication::applicationFilePath().toStdString();
    const std::string scenario = std::string(kScenarioVariable) + "=" + name;
    const std::string platform = "QT_QPA_PLATFORM=offscreen";
    std::vector<char*> envp;
    for (char** e = environ; *e != nullptr; ++e) {
        if (std::strncmp(*e, "QT_QPA_PLATFORM=", 16) == 0) continue;
        envp.push_back(*e);
    }
    envp.push_back(const_cast<char*>(scenario.c_str()));
    envp.push_back(const_cast<char*>(platform.c_str()));
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>(path.c_str()), nullptr};

    const pid_t child = fork();
    if (child < 0) return -2;
    if (child == 0) {
        execve(path.c_str(), argv, envp.data());
        _exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return status;
}

void ExpectScenarioPasses(const std::string& name) {
    const int status = RunScenario(name);
    ASSERT_NE(status, -1) << "scenario " << name << " hung";
    ASSERT_TRUE(WIFEXITED(status)) << "scenario " << name << " crashed";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "scenario " << name << " failed (see its output)";
}

}  // namespace

TEST(Shutdown, AWorkerWaitingWhenTheLoopQuitsIsReleasedUnrun) { ExpectScenarioPasses("quit"); }

TEST(Shutdown, ACallToADestroyedApplicationIsReleasedUnrun) { ExpectScenarioPasses("destroy"); }
