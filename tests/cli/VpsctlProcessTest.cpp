// The built vpsctl as a script or a person runs it: the password never shows in its
// command line, without a terminal it spends nothing unless told --yes, and an interrupted
// password prompt gives the terminal back echoing.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "VpsctlFixture.h"

namespace vpsdesk::cli::test {
namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// In a forked child: becomes the built vpsctl with `args`.
[[noreturn]] void ExecVpsctl(const std::vector<std::string>& args) {
    std::vector<char*> argv{const_cast<char*>(VPSCTL_BIN)};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(VPSCTL_BIN, argv.data());
    ::_exit(127);
}

// vpsctl with standard input on a pipe the test writes, and its output in files.
class VpsctlProcess {
  public:
    explicit VpsctlProcess(const std::vector<std::string>& args) {
        int fds[2];
        if (::pipe(fds) != 0) throw std::runtime_error("pipe");
        char pattern[] = "/tmp/vpsctl-out-XXXXXX";
        if (!::mkdtemp(pattern)) throw std::runtime_error("mkdtemp");
        folder_ = pattern;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(fds[0], STDIN_FILENO);
            ::close(fds[0]);
            ::close(fds[1]);
            const int out = ::open((folder_ + "/out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            const int err = ::open((folder_ + "/err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            ::dup2(out, STDOUT_FILENO);
            ::dup2(err, STDERR_FILENO);
            ExecVpsctl(args);
        }
        ::close(fds[0]);
        input_ = fds[1];
    }
    ~VpsctlProcess() {
        if (input_ >= 0) ::close(input_);
        if (!status_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        std::error_code error;
        std::filesystem::remove_all(folder_, error);
    }
    VpsctlProcess(const VpsctlProcess&) = delete;
    VpsctlProcess& operator=(const VpsctlProcess&) = delete;

    pid_t Pid() const { return pid_; }
    // The process's command line as /proc shows it, NULs made spaces; empty before exec.
    std::string CommandLine() const {
        std::string text = ReadFile("/proc/" + std::to_string(pid_) + "/cmdline");
        for (char& c : text)
            if (c == '\0') c = ' ';
        return text.find("vpsctl") == std::string::npos ? std::string() : text;
    }
    void Write(const std::string& text) {
        ASSERT_EQ(::write(input_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }
    void CloseInput() {
        ::close(input_);
        input_ = -1;
    }
    // The exit status; the generous limit only keeps a broken build from hanging the suite.
    int Wait() {
        for (int i = 0; i < 6000 && !status_; ++i) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) status_ = status;
            else std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return status_ && WIFEXITED(*status_) ? WEXITSTATUS(*status_) : -1;
    }
    std::string Out() const { return ReadFile(folder_ + "/out"); }
    std::string Err() const { return ReadFile(folder_ + "/err"); }

  private:
    pid_t pid_ = -1;
    int input_ = -1;
    std::string folder_;
    std::optional<int> status_;
};

TEST_F(VpsctlTest, ThePasswordNeverAppearsInTheCommandLineOfARunningVpsctl) {
    VpsctlProcess vpsctl(Args({"--account", "demo", "servers", "--json"}));
    std::string command_line;
    for (int i = 0; i < 6000 && command_line.empty(); ++i) {
        command_line = vpsctl.CommandLine();
        if (command_line.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    // It is waiting for the password on standard input, so it is still running.
    ASSERT_NE(command_line.find("--account demo servers --json"), std::string::npos) << command_line;
    vpsctl.Write(std::string(platformd::Demo::kPassword) + "\n");
    EXPECT_EQ(vpsctl.CommandLine().find(platformd::Demo::kPassword), std::string::npos);
    vpsctl.CloseInput();
    ASSERT_EQ(vpsctl.Wait(), kExitDone) << vpsctl.Err();
    const nlohmann::json servers = nlohmann::json::parse(vpsctl.Out());
    EXPECT_EQ(servers["count"], 7);
}

TEST_F(VpsctlTest, WithoutATerminalTheProgramSpendsOnlyWithYes) {
    {
        VpsctlProcess vpsctl(Args({"--account", "demo", "renew", "2", "--period", "month"}));
        vpsctl.Write(std::string(platformd::Demo::kPassword) + "\n");
        vpsctl.CloseInput();
        EXPECT_EQ(vpsctl.Wait(), kExitUsage);
        EXPECT_NE(vpsctl.Err().find("--yes"), std::string::npos) << vpsctl.Err();
        EXPECT_EQ(vpsctl.Out(), "");
    }
    EXPECT_EQ(Balance(), "500.00元\n");
    VpsctlProcess vpsctl(Args({"--account", "demo", "renew", "2", "--period", "month", "--yes"}));
    vpsctl.Write(std::string(platformd::Demo::kPassword) + "\n");
    vpsctl.CloseInput();
    EXPECT_EQ(vpsctl.Wait(), kExitDone) << vpsctl.Err();
    EXPECT_EQ(vpsctl.Out(), "续费成功\n");
    EXPECT_EQ(Balance(), "440.00元\n");
}

TEST_F(VpsctlTest, TheProgramsExitStatusesReachTheShell) {
    VpsctlProcess usage({"servers", "--page", "x"});
    EXPECT_EQ(usage.Wait(), kExitUsage);
    VpsctlProcess refused(Args({"--account", "demo", "restart", "8"}));
    refused.Write("demo2026\n");
    refused.CloseInput();
    EXPECT_EQ(refused.Wait(), kExitRefused);
    EXPECT_NE(refused.Err().find("服务器不存在"), std::string::npos);
    VpsctlProcess unreachable({"--site", "127.0.0.1:1", "--account", "demo", "balance"});
    unreachable.Write("demo2026\n");
    unreachable.CloseInput();
    EXPECT_EQ(unreachable.Wait(), kExitNetwork);
}

// ^C at the password prompt, where echo is off, gives the terminal back as it was.
TEST_F(VpsctlTest, AnInterruptedPasswordPromptLeavesTheTerminalEchoing) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    const std::string slave_name = ::ptsname(master);
    // Held open here too, so the terminal's settings can be read after vpsctl has ended.
    const int slave = ::open(slave_name.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(slave, 0);
    termios before{};
    ASSERT_EQ(::tcgetattr(slave, &before), 0);
    ASSERT_TRUE(before.c_lflag & ECHO);

    const std::vector<std::string> args = Args({"--account", "demo", "balance"});
    const pid_t pid = ::fork();
    if (pid == 0) {
        // A session of its own with the terminal as its controlling one, as a shell gives.
        ::setsid();
        const int tty = ::open(slave_name.c_str(), O_RDWR);
        ::dup2(tty, STDIN_FILENO);
        ::dup2(tty, STDOUT_FILENO);
        ::dup2(tty, STDERR_FILENO);
        ExecVpsctl(args);
    }
    std::string shown;
    for (int i = 0; i < 600 && shown.find("Password for demo: ") == std::string::npos; ++i) {
        pollfd ready{master, POLLIN, 0};
        if (::poll(&ready, 1, 100) <= 0) continue;
        char buffer[256];
        const ssize_t got = ::read(master, buffer, sizeof buffer);
        if (got > 0) shown.append(buffer, static_cast<size_t>(got));
    }
    ASSERT_NE(shown.find("Password for demo: "), std::string::npos) << shown;
    termios prompting{};
    ASSERT_EQ(::tcgetattr(slave, &prompting), 0);
    EXPECT_FALSE(prompting.c_lflag & ECHO) << "the password would show";

    ASSERT_EQ(::write(master, "\x03", 1), 1);  // ^C: the terminal sends SIGINT
    int status = 0;
    for (int i = 0; i < 600 && ::waitpid(pid, &status, WNOHANG) != pid; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(WIFSIGNALED(status)) << "status " << status;
    EXPECT_EQ(WTERMSIG(status), SIGINT);
    termios after{};
    ASSERT_EQ(::tcgetattr(slave, &after), 0);
    EXPECT_TRUE(after.c_lflag & ECHO) << "the terminal was left typing blind";
    ::close(slave);
    ::close(master);
}

}  // namespace
}  // namespace vpsdesk::cli::test
