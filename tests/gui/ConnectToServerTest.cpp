// Connecting from the server list with the program starter replaced: what would be started
// (program, arguments, standard input), the boxes on the way, and the rows that start
// nothing. No remote-desktop client is started here; 192.0.2.10 is never contacted.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

#include "GuiTestSupport.h"
#include "TempFolderTest.h"
#include "net/Gbk.h"
#include "os/KeyFileDataProtection.h"
#include "os/ProgramFolder.h"
#include "rdpsettings/RemoteDesktopSettings.h"
#include "servers/ServerPage.h"
#include "servers/gui/ConnectToServer.h"
#include "servers/gui/ServerContextMenu.h"
#include "servers/gui/ServerListPage.h"
#include "servers/gui/ServerListView.h"

using namespace vpsdesk::servers;
using vpsdesk::os::LaunchRequest;
using vpsdesk::os::LaunchResult;
using vpsdesk::os::LaunchStatus;
using vpsdesk::ui::guitest::ModalClicker;
namespace fs = std::filesystem;

namespace {

class CapturingLauncher : public vpsdesk::os::ProcessLauncher {
  public:
    LaunchResult Launch(const LaunchRequest& request) override {
        requests.push_back(request);
        return {status, status == LaunchStatus::kStarted ? 4242 : -1, 0};
    }
    std::vector<LaunchRequest> requests;
    LaunchStatus status = LaunchStatus::kStarted;
};

class ConnectToServerTest : public vpsdesk::test::TempFolderTest {
  protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        fs::create_directories(dir_ / "History");
        vpsdesk::os::OverrideProgramFolder(dir_);
        RemoteDesktopSeams seams;
        seams.launcher = launcher_;
        seams.protection =
            std::make_shared<vpsdesk::os::KeyFileDataProtection>(dir_ / "protection.key");
        seams.devices = [this] { return devices_; };
        SetRemoteDesktopSeamsForTests(seams);
    }
    void TearDown() override {
        SetRemoteDesktopSeamsForTests({});
        vpsdesk::os::OverrideProgramFolder({});
        TempFolderTest::TearDown();
    }

    void WriteConfig(std::string_view lines) {
        std::ofstream(dir_ / "config.ini", std::ios::binary)
            << vpsdesk::net::Utf8ToGbk("[RDP]\r\n" + std::string(lines));
    }
    std::string ConfigText() const { return Text(dir_ / "config.ini"); }
    std::string FileText(const std::string& name) const { return Text(dir_ / "History" / name); }
    static std::string Text(const fs::path& file) { return vpsdesk::net::GbkToUtf8(Bytes(file)); }
    std::string History() const { return (dir_ / "History").string(); }

    static ServerRow Row(std::string address, std::string status = "运行中",
                         std::string type = "云服务器") {
        ServerRow row;
        row[column::kProductType] = std::move(type);
        row[column::kAddress] = std::move(address);
        row[column::kStatus] = std::move(status);
        row[column::kPassword] = "Demo@Pass1";
        return row;
    }

    // What xfreerdp's watching thread reports: `lines`, then its end with `exit_code`;
    // returns the text of the box that shows up, or an empty text when none does.
    QString EndSession(const LaunchRequest& started, const std::vector<std::string>& lines,
                       int exit_code) {
        QObject owner;  // the clicker's timer ends with this call
        ModalClicker clicker;
        clicker.Arm(&owner, QStringLiteral("messageBoxOk"));
        std::atomic<bool> ended{false};
        std::thread watcher([&] {
            for (const std::string& line : lines) started.on_output_line(line);
            vpsdesk::os::ProgramEnd end;
            end.exited = true;
            end.exit_code = exit_code;
            end.running_time = std::chrono::seconds(2);
            started.on_end(end);  // waits while the UI thread shows the box
            ended = true;
        });
        vpsdesk::ui::guitest::PumpUntil([&] { return ended.load(); });
        watcher.join();
        return clicker.clicked ? clicker.text : QString();
    }

    RdpLocalDevices devices_;
    std::shared_ptr<CapturingLauncher> launcher_ = std::make_shared<CapturingLauncher>();
    QObject owner_;
};

TEST_F(ConnectToServerTest, ARunningServerGetsItsFileAndXfreerdpWithThePasswordOnStdin) {
    ConnectToServer(nullptr, Row("192.0.2.10"));
    ASSERT_EQ(launcher_->requests.size(), 1u);
    const LaunchRequest& started = launcher_->requests[0];
    EXPECT_EQ(started.program, "xfreerdp");
    EXPECT_EQ(started.arguments,
              (std::vector<std::string>{History() + "/192.0.2.10.rdp", "/from-stdin"}));
    EXPECT_EQ(started.standard_input, "Demo@Pass1\n");
    EXPECT_NE(FileText("192.0.2.10.rdp").find("\r\nfull address:s:192.0.2.10:3389\r\n"),
              std::string::npos);

    ConnectToServer(nullptr, Row("192.0.2.10:40001"));
    ASSERT_EQ(launcher_->requests.size(), 2u);
    EXPECT_EQ(launcher_->requests[1].arguments[0], History() + "/192.0.2.10.rdp");
    EXPECT_NE(FileText("192.0.2.10.rdp").find("\r\nfull address:s:192.0.2.10:40001\r\n"),
              std::string::npos);
}

TEST_F(ConnectToServerTest, RowsThatCannotConnectStartAndShowNothing) {
    ModalClicker clicker;
    clicker.Arm(&owner_, QStringLiteral("messageBoxOk"));
    ConnectToServer(nullptr, Row("192.0.2.10:1:2"));
    ConnectToServer(nullptr, Row("192.0.2.10", "已到期"));
    ConnectToServer(nullptr, Row("192.0.2.10", "已停止"));
    QApplication::processEvents();
    EXPECT_TRUE(launcher_->requests.empty());
    EXPECT_FALSE(clicker.clicked);
    EXPECT_TRUE(fs::is_empty(dir_ / "History"));
}

TEST_F(ConnectToServerTest, AGraphicsCardServerShowsTheNoticeFirstThenConnects) {
    ModalClicker clicker;
    clicker.Arm(&owner_, QStringLiteral("messageBoxOk"));
    ConnectToServer(nullptr, Row("192.0.2.10", "运行中", "显卡云服务器"));
    EXPECT_TRUE(clicker.clicked);
    EXPECT_EQ(clicker.title, QStringLiteral("提示"));
    EXPECT_EQ(clicker.text, QString::fromUtf8(kGraphicsCardWarning));
    EXPECT_EQ(launcher_->requests.size(), 1u);
}

TEST_F(ConnectToServerTest, ForcedLoginMapsToAdminAndOddValuesReuseThePreviousSwitch) {
    auto switches = [&](std::string_view forced) {
        WriteConfig("强制模式=" + std::string(forced) + "\r\n");
        ConnectToServer(nullptr, Row("192.0.2.10"));
        std::vector<std::string> args = launcher_->requests.back().arguments;
        return std::vector<std::string>(args.begin() + 2, args.end());
    };
    const std::vector<std::string> admin{"/admin"};
    EXPECT_EQ(switches("0"), admin);
    EXPECT_EQ(switches("1"), admin);
    EXPECT_EQ(switches("7"), admin);
    EXPECT_EQ(switches("2"), std::vector<std::string>());
    EXPECT_EQ(switches("7"), std::vector<std::string>());
}

TEST_F(ConnectToServerTest, TheLaunchReadsReplaceTheSettingsRecord) {
    vpsdesk::rdpsettings::CurrentRdpSettings().window_mode = "1";
    WriteConfig("窗口模式=0\r\n窗口数据=1280×1024\r\n组合键=1\r\n");
    ConnectToServer(nullptr, Row("192.0.2.10"));
    const auto& record = vpsdesk::rdpsettings::CurrentRdpSettings();
    EXPECT_EQ(record.window_mode, "0");
    EXPECT_EQ(record.resolution, "1280×1024");
    EXPECT_EQ(record.key_combinations, "1");
    EXPECT_EQ(launcher_->requests.back().arguments.back(), "/f");
}

TEST_F(ConnectToServerTest, AFileThatCannotBeWrittenIsReportedAndNothingStarts) {
    fs::remove_all(dir_ / "History");
    ModalClicker clicker;
    clicker.Arm(&owner_, QStringLiteral("messageBoxOk"));
    ConnectToServer(nullptr, Row("192.0.2.10"));
    EXPECT_EQ(clicker.text, QString::fromUtf8(kRdpWriteFailed));
    EXPECT_TRUE(launcher_->requests.empty());
}

TEST_F(ConnectToServerTest, AMissingXfreerdpNamesThePackageToInstall) {
    launcher_->status = LaunchStatus::kNotFound;
    ModalClicker clicker;
    clicker.Arm(&owner_, QStringLiteral("messageBoxOk"));
    ConnectToServer(nullptr, Row("192.0.2.10"));
    EXPECT_EQ(clicker.title, QStringLiteral("错误"));
    EXPECT_TRUE(clicker.text.contains(QStringLiteral("freerdp2-x11")));
}

// Both ways in connect, and each launch reports its start and its end to the sink it was
// given, the end from the launcher's watching thread.
TEST_F(ConnectToServerTest, TheListsDoubleClickAndMenuEntryConnectAndReportToTheirSink) {
    std::mutex mutex;
    std::vector<std::string> events;
    ServerListPage page;
    AttachRemoteDesktop(page, [&](std::string_view line) {
        const std::lock_guard lock(mutex);
        events.emplace_back(line);
    });
    ServerPage shown;
    shown.readable = true;
    shown.count = 1;
    shown.page_count = 1;
    shown.rows.push_back(Row("192.0.2.10"));
    page.ApplyPage(shown);
    emit page.List()->rowDoubleClicked(0);
    ASSERT_EQ(launcher_->requests.size(), 1u);
    EXPECT_EQ(EndSession(launcher_->requests[0], {}, 0), QString());

    page.BuildContextMenu();
    page.List()->selectRow(0);
    QAction* connect = nullptr;
    for (QAction* action : page.ContextMenu()->TopMenu()->actions())
        if (action->text() == QStringLiteral("连接主机")) connect = action;
    ASSERT_NE(connect, nullptr);
    connect->trigger();
    EXPECT_EQ(launcher_->requests.size(), 2u);
    const std::lock_guard lock(mutex);
    EXPECT_EQ(events, (std::vector<std::string>{"remote-desktop-started 4242",
                                                "remote-desktop-ended 0",
                                                "remote-desktop-started 4242"}));
}

TEST_F(ConnectToServerTest, ASessionThatFailsIsToldInTheCustomersWordsOneThatEndsIsNot) {
    ConnectToServer(nullptr, Row("192.0.2.10"));
    ASSERT_EQ(launcher_->requests.size(), 1u);
    const LaunchRequest& started = launcher_->requests[0];
    // The connection steps come into its log, and only those.
    EXPECT_EQ(started.environment,
              std::vector<std::string>{"WLOG_FILTER=com.freerdp.core.connection:DEBUG"});
    const std::string step =
        "[DEBUG][com.freerdp.core.connection] - rdp_client_transition_to_state ";
    EXPECT_EQ(EndSession(started,
                         {step + "CONNECTION_STATE_INITIAL --> CONNECTION_STATE_NEGO",
                          step + "CONNECTION_STATE_NEGO --> CONNECTION_STATE_NLA",
                          step + "CONNECTION_STATE_NLA --> CONNECTION_STATE_INITIAL"},
                         147),
              QStringLiteral("远程连接失败：用户名或密码错误"));

    ConnectToServer(nullptr, Row("192.0.2.10"));
    EXPECT_EQ(EndSession(launcher_->requests.back(),
                         {step + "CONNECTION_STATE_INITIAL --> CONNECTION_STATE_NEGO"}, 147),
              QStringLiteral("远程连接失败：无法连接到服务器，请确认服务器正在运行且远程端口可以访问"));

    ConnectToServer(nullptr, Row("192.0.2.10"));
    EXPECT_EQ(EndSession(launcher_->requests.back(),
                         {step + "CONNECTION_STATE_FINALIZATION --> CONNECTION_STATE_ACTIVE"}, 0),
              QString());
}

TEST_F(ConnectToServerTest, ChoicesXfreerdpCannotHonourAreCarriedOutAsWellAsItCanTheFileKeepsThem) {
    const fs::path data = dir_ / "数据";
    fs::create_directories(data);
    WriteConfig("监视器颜色=4\r\n录音=1\r\n串行口=1\r\n本地驱动器=" + data.string() + ";\r\n");
    const std::string stored = ConfigText();
    devices_.serial_ports = {"/dev/ttyS0", "/dev/ttyUSB0"};
    ConnectToServer(nullptr, Row("192.0.2.10"));
    ASSERT_EQ(launcher_->requests.size(), 1u);
    std::string name = data.string();
    for (char& c : name)
        if (c == '/') c = '_';
    EXPECT_EQ(launcher_->requests[0].arguments,
              (std::vector<std::string>{History() + "/192.0.2.10.rdp", "/from-stdin",
                                        "/drive:" + name + "," + data.string(),
                                        "/serial:COM1,/dev/ttyS0", "/serial:COM2,/dev/ttyUSB0"}));
    const std::string file = FileText("192.0.2.10.rdp");
    EXPECT_NE(file.find("\r\nsession bpp:i:15\r\n"), std::string::npos);
    EXPECT_NE(file.find("\r\naudiocapturemode:i:0\r\n"), std::string::npos);
    EXPECT_NE(file.find("\r\ndrivestoredirect:s:\r\n"), std::string::npos);
    EXPECT_NE(file.find("\r\nredirectcomports:i:1\r\n"), std::string::npos);
    // The settings stay as the customer chose them, in the file and in the record.
    EXPECT_EQ(ConfigText(), stored);
    EXPECT_EQ(vpsdesk::rdpsettings::CurrentRdpSettings().color_depth, "4");

    // With a sound system that records, recording stays on.
    devices_.capture = vpsdesk::os::AudioCaptureSystem::kPulse;
    WriteConfig("监视器颜色=8\r\n录音=1\r\n");
    ConnectToServer(nullptr, Row("192.0.2.10"));
    EXPECT_NE(FileText("192.0.2.10.rdp").find("\r\nsession bpp:i:15\r\n"), std::string::npos);
    EXPECT_NE(FileText("192.0.2.10.rdp").find("\r\naudiocapturemode:i:1\r\n"),
              std::string::npos);
}

}  // namespace
