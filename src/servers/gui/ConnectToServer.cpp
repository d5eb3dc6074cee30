#include "servers/gui/ConnectToServer.h"

#include <optional>

#include "os/KeyFileDataProtection.h"
#include "os/ProgramFolder.h"
#include "servers/RdpClientCommand.h"
#include "servers/RdpFailureMessage.h"
#include "servers/RdpLocalDevices.h"
#include "servers/RdpSessionLog.h"
#include "servers/RemoteDesktopLaunch.h"
#include "servers/gui/ServerListPage.h"
#include "ui/MessageBoxes.h"
#include "ui/Waiting.h"

namespace vpsdesk::servers {
namespace {

// UI thread only, like everything in this file.
RemoteDesktopSeams& Seams() {
    static RemoteDesktopSeams seams;
    return seams;
}

os::ProcessLauncher& Launcher() {
    if (Seams().launcher) return *Seams().launcher;
    static std::unique_ptr<os::ProcessLauncher> system = os::SystemProcessLauncher();
    return *system;
}

const os::DataProtection& Protection() {
    if (Seams().protection) return *Seams().protection;
    static std::unique_ptr<os::DataProtection> protection = os::UserDataProtection();
    return *protection;
}

// The switch of the previous launch lives as long as the run.
LoginSwitchMemory& SwitchMemory() {
    static LoginSwitchMemory memory;
    return memory;
}

RdpLocalDevices LocalDevices(const RemoteDesktopSettings& settings) {
    return Seams().devices ? Seams().devices() : ProbeRdpLocalDevices(settings);
}

// Reads the session's log as it comes and, once xfreerdp has ended, tells the customer
// what failed. Both run on the launcher's watching thread; the box is shown on the UI
// thread, and not at all once the client is shutting down.
void WatchSession(os::LaunchRequest& request, const LaunchEvents& events) {
    auto log = std::make_shared<RdpSessionLog>();
    request.on_output_line = [log](std::string_view line) { log->Read(line); };
    request.on_end = [log, events](const os::ProgramEnd& end) {
        if (events)
            events("remote-desktop-ended " + (end.exited ? std::to_string(end.exit_code)
                                                         : "signal " + std::to_string(end.signal)));
        if (std::optional<std::string> failure = RdpFailureMessage(end, *log))
            ui::ShowMessage(*failure, "错误", ui::MessageIcon::Error, ui::MessageButtons::Ok);
    };
}

}  // namespace

void ConnectToServer(QWidget* parent, const ServerRow& row, const LaunchEvents& events) {
    const std::optional<ConnectionPlan> plan = PlanConnection(row);
    if (!plan) return;
    if (plan->graphics_card_warning)
        ui::ShowMessage(kGraphicsCardWarning, "提示", ui::MessageIcon::None, ui::MessageButtons::Ok,
                        parent);
    if (!plan->target) return;
    LaunchRemoteDesktop(parent, plan->target->host, plan->target->port, plan->password, events);
}

void LaunchRemoteDesktop(QWidget* parent, const std::string& host, const std::string& port,
                         const std::string& password, const LaunchEvents& events) {
    const RemoteDesktopSettings settings = rdpsettings::ReadRemoteDesktopSettings();
    RefreshSettingsRecord(settings, rdpsettings::CurrentRdpSettings());
    const std::string login_switch = SwitchMemory().Choose(settings.forced_login);
    const std::filesystem::path folder = os::ProgramFolder();
    const RdpLocalDevices devices = LocalDevices(settings);
    const RdpConnectionFile file =
        MakeRdpConnectionFile(folder, HostPort{host, port}, password,
                              HonouredRdpSettings(settings, devices), Protection());
    // Without a program folder the path would be relative to the working directory.
    if (folder.empty() || !WriteRdpFile(file.path, file.bytes)) {
        ui::ShowPlainMessage(kRdpWriteFailed, {}, parent);
        return;
    }

    ui::WaitPumping(Seams().wait.count(), ui::WaitUnit::Milliseconds);

    os::LaunchRequest request = RdpClientCommand(file.path, login_switch, settings.window_mode,
                                                 password, RdpDeviceSwitches(settings, devices));
    WatchSession(request, events);
    const os::LaunchResult started = Launcher().Launch(request);
    switch (started.status) {
        case os::LaunchStatus::kStarted:
            if (events) events("remote-desktop-started " + std::to_string(started.pid));
            break;
        case os::LaunchStatus::kNotFound:
            ui::ShowMessage(RdpClientMissingMessage(), "错误", ui::MessageIcon::Error,
                            ui::MessageButtons::Ok, parent);
            break;
        case os::LaunchStatus::kFailed:
            ui::ShowMessage(RdpClientFailedMessage(started.error), "错误", ui::MessageIcon::Error,
                            ui::MessageButtons::Ok, parent);
            break;
    }
}

void AttachRemoteDesktop(ServerListPage& page, LaunchEvents events) {
    auto connect = [&page, events = std::move(events)](const ServerRow& row) {
        ConnectToServer(page.window(), row, events);
    };
    page.SetConnectHandler(connect);
    page.AddMenuEntry(ServerListPage::MenuLevel::Top, QStringLiteral("连接主机"), connect);
}

void SetRemoteDesktopSeamsForTests(RemoteDesktopSeams seams) {
    Seams() = std::move(seams);
}

}  // namespace vpsdesk::servers
