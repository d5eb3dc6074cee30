#include "servers/gui/ConnectToServer.h"

#include <optional>

#include "os/KeyFileDataProtection.h"
#include "os/ProgramFolder.h"
#include "servers/RemoteDesktopStart.h"
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
    const RdpStartServices services{Launcher(), Protection(), LocalDevices, [] {
                                        ui::WaitPumping(Seams().wait.count(),
                                                        ui::WaitUnit::Milliseconds);
                                    }};
    // Once xfreerdp has ended the customer is told what failed: on the UI thread, and not at
    // all once the client is shutting down.
    auto on_end = [events](const os::ProgramEnd& end, const std::optional<std::string>& failure) {
        if (events)
            events("remote-desktop-ended " + (end.exited ? std::to_string(end.exit_code)
                                                         : "signal " + std::to_string(end.signal)));
        if (failure) ui::ShowMessage(*failure, "错误", ui::MessageIcon::Error, ui::MessageButtons::Ok);
    };
    const RdpStart started = StartRemoteDesktop(os::ProgramFolder(), HostPort{host, port}, password,
                                                settings, SwitchMemory(), services, on_end);
    switch (started.status) {
        case RdpStartStatus::kStarted:
            if (events) events("remote-desktop-started " + std::to_string(started.pid));
            break;
        case RdpStartStatus::kFileNotWritten:
            ui::ShowPlainMessage(started.message, {}, parent);
            break;
        case RdpStartStatus::kClientMissing:
        case RdpStartStatus::kClientFailed:
            ui::ShowMessage(started.message, "错误", ui::MessageIcon::Error, ui::MessageButtons::Ok,
                            parent);
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
