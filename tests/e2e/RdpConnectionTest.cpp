// A real remote-desktop session on loopback: FreeRDP's shadow server shares one virtual
// display, the reference platform lists it as a running server, the client reads that
// row through its own server-list request and connects with ConnectToServer, and xfreerdp
// opens the session on a second virtual display. A session that fails is told in a box;
// settings xfreerdp cannot carry out as stored still give a live session. Every process
// is stopped by its id.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <QApplication>
#include <fstream>
#include <thread>

#include "../gui/GuiTestSupport.h"
#include "E2eSupport.h"
#include "account/LoginApi.h"
#include "net/Gbk.h"
#include "os/KeyFileDataProtection.h"
#include "os/ProgramFolder.h"
#include "os/SerialPorts.h"
#include "platform/SiteConstants.h"
#include "servers/ServerListApi.h"
#include "servers/ServerPage.h"
#include "servers/gui/ConnectToServer.h"

namespace e2e {
namespace {

using namespace std::chrono_literals;
using vpsdesk::servers::ServerRow;
namespace column = vpsdesk::servers::column;

constexpr const char* kRdpPassword = "Shadow@Pass1";

// An Xvfb that picks a free display itself (-displayfd) and reports it.
class VirtualDisplay {
  public:
    explicit VirtualDisplay(const fs::path& folder) : out_(folder / "xvfb.out") {
        fs::create_directories(folder);
        child_ = std::make_unique<Child>(Child::Options{
            {"/usr/bin/Xvfb", "-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"},
            {},
            folder,
            out_,
            folder / "xvfb.err"});
        PollFor([&] { return ReadAll(out_).find('\n') != std::string::npos || !child_->Running(); },
                60s);
        // Seen rarely on a loaded machine: a display named but refusing its first client.
        // It is used only once it answers one.
        if (!Name().empty()) {
            PollFor(
                [&] {
                    Child probe({{"/usr/bin/xset", "-display", Name(), "q"},
                                 {},
                                 folder,
                                 folder / "probe.out",
                                 folder / "probe.err"});
                    return probe.WaitExitCode() == 0 || !child_->Running();
                },
                30s);
        }
    }
    std::string Name() const {
        std::string number = ReadAll(out_);
        return number.empty() ? "" : ":" + number.substr(0, number.find('\n'));
    }

  private:
    fs::path out_;
    std::unique_ptr<Child> child_;
};

// freerdp-shadow-cli on a free loopback port with NLA against a one-user SAM file.
class ShadowServer {
  public:
    ShadowServer(const fs::path& folder, const std::string& display)
        : log_(folder / "shadow.log"), err_(folder / "shadow.err") {
        fs::create_directories(folder / "home");
        Child hash({{"/usr/bin/winpr-hash", "-u", "administrator", "-p", kRdpPassword, "-f", "sam"},
                    {},
                    folder,
                    folder / "sam",
                    folder / "hash.err"});
        hash.WaitExitCode();
        // A port found free may be taken before the server binds it: try a few.
        for (int attempt = 0; attempt < 5 && !listening_; ++attempt) {
            port_ = ClosedLoopbackPort();
            child_ = std::make_unique<Child>(
                Child::Options{{"/usr/bin/stdbuf", "-oL", "-eL", "/usr/bin/freerdp-shadow-cli",
                                "/port:" + std::to_string(port_), "/bind-address:127.0.0.1",
                                "+auth", "/sec:nla", "/sam-file:" + (folder / "sam").string()},
                               {"DISPLAY=" + display, "HOME=" + (folder / "home").string()},
                               folder,
                               log_,
                               folder / "shadow.err"});
            listening_ =
                PollFor([&] { return Logged("Listening on") || !child_->Running(); }, 60s) &&
                Logged("Listening on");
        }
    }
    bool listening() const { return listening_; }
    int Port() const { return port_; }
    // WLog writes errors to standard error and the rest to standard output.
    bool Logged(const std::string& text) const { return Log().find(text) != std::string::npos; }
    std::string Log() const { return ReadAll(log_) + ReadAll(err_); }

  private:
    fs::path log_;
    fs::path err_;
    int port_ = 0;
    bool listening_ = false;
    std::unique_ptr<Child> child_;
};

// The real launcher, with xfreerdp shown on the test's display, logging its connection
// states into a file line by line, and its process id kept for the test to stop (stdbuf
// runs xfreerdp in its own process).
class RecordingLauncher : public vpsdesk::os::ProcessLauncher {
  public:
    RecordingLauncher(std::string display, fs::path home, fs::path log)
        : display_(std::move(display)), home_(std::move(home)), log_(std::move(log)) {}
    vpsdesk::os::LaunchResult Launch(const vpsdesk::os::LaunchRequest& request) override {
        vpsdesk::os::LaunchRequest logged = request;
        // Output to a file is block-buffered; stdbuf makes each log line arrive as written.
        logged.program = "stdbuf";
        logged.arguments = {"-oL", "-eL", request.program};
        logged.arguments.insert(logged.arguments.end(), request.arguments.begin(),
                                request.arguments.end());
        logged.output_file = log_;
        logged.environment.insert(logged.environment.end(), {"DISPLAY=" + display_,
                                                             "HOME=" + home_.string(),
                                                             "WLOG_LEVEL=DEBUG"});
        vpsdesk::os::LaunchResult result = real_->Launch(logged);
        pids.push_back(result.pid);
        return result;
    }
    std::vector<pid_t> pids;

  private:
    std::string display_;
    fs::path home_;
    fs::path log_;
    std::unique_ptr<vpsdesk::os::ProcessLauncher> real_ = vpsdesk::os::SystemProcessLauncher();
};

// Running and not a zombie; the launcher's own reaper collects it once it ends.
bool Alive(pid_t pid) {
    std::string stat = ReadAll("/proc/" + std::to_string(pid) + "/stat");
    const size_t state = stat.rfind(')');
    return state != std::string::npos && state + 2 < stat.size() && stat[state + 2] != 'Z';
}

void Stop(pid_t pid) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    if (!PollFor([&] { return !Alive(pid); }, 10s)) kill(pid, SIGKILL);
}

class RdpConnectionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        application_ = std::make_unique<QApplication>(argc_, argv_);
        fs::create_directories(root_ / "install" / "History");
        fs::create_directories(root_ / "client-home");
        vpsdesk::os::OverrideProgramFolder(root_ / "install");
    }
    void TearDown() override {
        for (pid_t pid : launcher_->pids) Stop(pid);
        vpsdesk::servers::SetRemoteDesktopSeamsForTests({});
        vpsdesk::os::OverrideProgramFolder({});
        application_.reset();
    }

    // The first running server of page 1, as the client's own list request reads it.
    std::optional<ServerRow> RunningServer(Platform& platform) {
        const vpsdesk::platform::SiteConstants site{platform.Site(), "Ver 4.92"};
        if (vpsdesk::account::SilentRelogin(site, "demo", "demo2026", "E2E") != "1000") return {};
        auto page = vpsdesk::servers::ParseServerPage(vpsdesk::servers::FetchServerPage(site, 1));
        for (const ServerRow& row : page.rows)
            if (row[column::kStatus] == vpsdesk::servers::kRunningStatus) return row;
        return {};
    }

    // The loopback server, the platform listing it and the client's display; false (with
    // the test skipped or failed) when any of them is missing.
    bool StartServer() {
        if (!ClientDisplay()) return false;
        server_display_ = std::make_unique<VirtualDisplay>(root_ / "server-display");
        EXPECT_FALSE(server_display_->Name().empty());
        shadow_ = std::make_unique<ShadowServer>(root_ / "shadow", server_display_->Name());
        EXPECT_TRUE(shadow_->listening()) << shadow_->Log();
        if (!shadow_->listening()) return false;
        platform_ = std::make_unique<Platform>(
            root_ / "platform",
            std::vector<std::string>{"--demo", "--rdp-address",
                                     "127.0.0.1:" + std::to_string(shadow_->Port()),
                                     "--rdp-password", kRdpPassword});
        row_ = RunningServer(*platform_);
        EXPECT_TRUE(row_.has_value());
        if (!row_) return false;
        EXPECT_EQ((*row_)[column::kAddress], "127.0.0.1:" + std::to_string(shadow_->Port()));
        return true;
    }

    // The display xfreerdp shows its window on, with the launcher that puts it there.
    bool ClientDisplay() {
        for (const char* tool : {"/usr/bin/Xvfb", "/usr/bin/winpr-hash",
                                 "/usr/bin/freerdp-shadow-cli", "/usr/bin/xfreerdp",
                                 "/usr/bin/stdbuf"}) {
            if (!fs::exists(tool)) {
                skipped_ = std::string(tool) + " missing: run scripts/setup.sh";
                return false;
            }
        }
        client_display_ = std::make_unique<VirtualDisplay>(root_ / "client-display");
        EXPECT_FALSE(client_display_->Name().empty());
        UseLauncher(client_display_->Name());
        return !client_display_->Name().empty();
    }

    bool SessionActive() {
        return PollFor(
            [&] {
                return ReadAll(client_log_).find("CONNECTION_STATE_ACTIVE") != std::string::npos;
            },
            30s);
    }

    // Serves the UI thread for up to `limit` with a box clicker armed; the text of the box
    // that showed up, or an empty text.
    QString BoxWithin(std::chrono::seconds limit) {
        QObject owner;  // the clicker's timer ends with this call
        vpsdesk::ui::guitest::ModalClicker clicker;
        clicker.Arm(&owner, QStringLiteral("messageBoxOk"));
        const auto end = std::chrono::steady_clock::now() + limit;
        while (!clicker.clicked && std::chrono::steady_clock::now() < end) {
            QApplication::processEvents(QEventLoop::AllEvents, 20);
            std::this_thread::sleep_for(10ms);
        }
        return clicker.clicked ? clicker.text : QString();
    }

    void WriteSettings(const std::string& lines) {
        std::ofstream(root_ / "install" / "config.ini", std::ios::binary)
            << vpsdesk::net::Utf8ToGbk("[RDP]\r\n" + lines);
    }

    void UseLauncher(const std::string& display) {
        launcher_ =
            std::make_shared<RecordingLauncher>(display, root_ / "client-home", client_log_);
        vpsdesk::servers::RemoteDesktopSeams seams;
        seams.launcher = launcher_;
        seams.protection =
            std::make_shared<vpsdesk::os::KeyFileDataProtection>(root_ / "protection.key");
        vpsdesk::servers::SetRemoteDesktopSeamsForTests(seams);
    }

    std::string skipped_;
    std::unique_ptr<VirtualDisplay> server_display_;
    std::unique_ptr<VirtualDisplay> client_display_;
    std::unique_ptr<ShadowServer> shadow_;
    std::unique_ptr<Platform> platform_;
    std::optional<ServerRow> row_;
    int argc_ = 1;
    char name_[10] = "e2e_tests";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> application_;
    TempFolder root_;
    fs::path client_log_ = root_ / "xfreerdp.log";
    std::shared_ptr<RecordingLauncher> launcher_ = std::make_shared<RecordingLauncher>("", "", "");
};

TEST_F(RdpConnectionTest, ADoubleClickedRunningServerOpensARealSessionAWrongPasswordIsTold) {
    if (!StartServer()) {
        if (!skipped_.empty()) GTEST_SKIP() << skipped_;
        return;
    }
    vpsdesk::servers::ConnectToServer(nullptr, *row_);
    ASSERT_EQ(launcher_->pids.size(), 1u);
    const pid_t client = launcher_->pids[0];
    ASSERT_GT(client, 0);
    // The password travels on standard input only.
    EXPECT_EQ(ReadAll("/proc/" + std::to_string(client) + "/cmdline").find(kRdpPassword),
              std::string::npos);
    EXPECT_EQ(ReadAll("/proc/" + std::to_string(client) + "/environ").find(kRdpPassword),
              std::string::npos);

    EXPECT_TRUE(SessionActive()) << ReadAll(client_log_);
    EXPECT_EQ(BoxWithin(2s), QString());
    EXPECT_TRUE(Alive(client)) << ReadAll(client_log_);
    EXPECT_TRUE(PollFor([&] { return shadow_->Logged("Client from 127.0.0.1 is activated"); }, 30s))
        << shadow_->Log();
    Stop(client);
    EXPECT_EQ(BoxWithin(1s), QString());  // stopped, not failed

    ServerRow wrong = *row_;
    wrong[column::kPassword] = "not-the-password";
    vpsdesk::servers::ConnectToServer(nullptr, wrong);
    ASSERT_EQ(launcher_->pids.size(), 2u);
    EXPECT_EQ(BoxWithin(60s), QStringLiteral("远程连接失败：用户名或密码错误")) << ReadAll(client_log_);
    EXPECT_TRUE(shadow_->Logged("client authentication failure")) << shadow_->Log();
}

TEST_F(RdpConnectionTest, AClosedPortIsTold) {
    if (!ClientDisplay()) {
        if (!skipped_.empty()) GTEST_SKIP() << skipped_;
        return;
    }
    ServerRow row;
    row[column::kProductType] = "云服务器";
    row[column::kAddress] = "127.0.0.1:" + std::to_string(ClosedLoopbackPort());
    row[column::kStatus] = vpsdesk::servers::kRunningStatus;
    row[column::kPassword] = kRdpPassword;
    vpsdesk::servers::ConnectToServer(nullptr, row);
    ASSERT_EQ(launcher_->pids.size(), 1u);
    EXPECT_EQ(BoxWithin(60s),
              QStringLiteral("远程连接失败：无法连接到服务器，请确认服务器正在运行且远程端口可以访问"))
        << ReadAll(client_log_);
}

// Colour 4 ends xfreerdp at the first picture, recording without a device drops the
// session every second or so, a GBK drive path makes it refuse the connection, and
// "串行口" alone redirects nothing.
TEST_F(RdpConnectionTest, ChoicesXfreerdpCannotHonourStillGiveALiveSession) {
    if (!StartServer()) {
        if (!skipped_.empty()) GTEST_SKIP() << skipped_;
        return;
    }
    const fs::path data = root_ / "数据";
    fs::create_directories(data);
    WriteSettings("监视器颜色=4\r\n录音=1\r\n串行口=1\r\n本地驱动器=" + data.string() + ";\r\n");
    vpsdesk::servers::ConnectToServer(nullptr, *row_);
    ASSERT_EQ(launcher_->pids.size(), 1u);
    const pid_t client = launcher_->pids[0];
    EXPECT_TRUE(SessionActive()) << ReadAll(client_log_);
    EXPECT_EQ(BoxWithin(4s), QString()) << ReadAll(client_log_);
    EXPECT_TRUE(Alive(client)) << ReadAll(client_log_);
    const std::string log = ReadAll(client_log_);
    EXPECT_EQ(log.find("Attempting reconnect"), std::string::npos) << log;
    std::string name = data.string();
    for (char& c : name)
        if (c == '/') c = '_';
    EXPECT_NE(log.find("Loading device service drive [" + name + "]"), std::string::npos) << log;
    if (!vpsdesk::os::SerialPorts().empty()) {
        EXPECT_NE(log.find("Loading device service serial [COM1]"), std::string::npos) << log;
    }
    Stop(client);
}

}  // namespace
}  // namespace e2e
