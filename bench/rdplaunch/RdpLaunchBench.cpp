// Time from ConnectToServer to the remote-desktop client being started: the settings read
// anew (18 keys), the password protected, the connection file written, the command built
// and the process started. The prescribed 50 ms wait is set to zero, so it is not counted.
// Two rounds: the starter replaced (the moment it is called), and the real posix_spawn of
// /bin/true in place of xfreerdp (the moment the process exists).
#include <stdlib.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "net/Gbk.h"
#include "os/KeyFileDataProtection.h"
#include "os/ProgramFolder.h"
#include "servers/gui/ConnectToServer.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

class TimingLauncher : public vpsdesk::os::ProcessLauncher {
  public:
    explicit TimingLauncher(bool spawn) : spawn_(spawn) {}
    vpsdesk::os::LaunchResult Launch(const vpsdesk::os::LaunchRequest& request) override {
        vpsdesk::os::LaunchResult result{vpsdesk::os::LaunchStatus::kStarted, 0, 0};
        if (spawn_) {
            vpsdesk::os::LaunchRequest trivial = request;
            trivial.program = "/bin/true";
            result = real_->Launch(trivial);
        }
        started = Clock::now();
        return result;
    }
    Clock::time_point started;

  private:
    bool spawn_;
    std::unique_ptr<vpsdesk::os::ProcessLauncher> real_ = vpsdesk::os::SystemProcessLauncher();
};

double Percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(p * static_cast<double>(values.size() - 1))];
}

void Round(const char* name, bool spawn, int runs, const fs::path& folder) {
    auto launcher = std::make_shared<TimingLauncher>(spawn);
    vpsdesk::servers::RemoteDesktopSeams seams;
    seams.launcher = launcher;
    seams.wait = std::chrono::milliseconds(0);
    seams.protection = std::make_shared<vpsdesk::os::KeyFileDataProtection>(folder / "key");
    vpsdesk::servers::SetRemoteDesktopSeamsForTests(seams);

    vpsdesk::servers::ServerRow row;
    row[vpsdesk::servers::column::kProductType] = "云服务器";
    row[vpsdesk::servers::column::kAddress] = "192.0.2.10:40001";
    row[vpsdesk::servers::column::kStatus] = "运行中";
    row[vpsdesk::servers::column::kPassword] = "Demo@Pass1";
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const Clock::time_point begin = Clock::now();
        vpsdesk::servers::ConnectToServer(nullptr, row);
        ms.push_back(std::chrono::duration<double, std::milli>(launcher->started - begin).count());
    }
    std::printf("%-34s runs %d  median %.3f ms  p90 %.3f ms  max %.3f ms\n", name, runs,
                Percentile(ms, 0.5), Percentile(ms, 0.9), Percentile(ms, 1.0));
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    char pattern[] = "/tmp/vpsdesk-rdplaunch-XXXXXX";
    if (mkdtemp(pattern) == nullptr) return 1;
    const fs::path folder = pattern;
    fs::create_directories(folder / "History");
    vpsdesk::os::OverrideProgramFolder(folder);
    // The settings window's first save: all nineteen keys present.
    std::ofstream(folder / "config.ini", std::ios::binary) << vpsdesk::net::Utf8ToGbk(
        "[RDP]\r\n窗口模式=1\r\n窗口数据=800×600\r\n监视器颜色=32\r\n磁盘映射=0\r\n本地驱动器=\r\n"
        "剪贴板=1\r\n打印机=0\r\n串行口=0\r\n智能卡=0\r\n重连=1\r\n强制模式=2\r\n压缩=1\r\n"
        "全屏栏=1\r\n桌面背景=1\r\n桌面主题=0\r\nPnP设备=0\r\n录音=0\r\n音频播放=2\r\n组合键="
        "2\r\n");

    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    Round("ConnectToServer -> starter called", false, runs, folder);
    Round("ConnectToServer -> /bin/true spawned", true, runs, folder);

    vpsdesk::servers::SetRemoteDesktopSeamsForTests({});
    vpsdesk::os::OverrideProgramFolder({});
    fs::remove_all(folder);
    return 0;
}
