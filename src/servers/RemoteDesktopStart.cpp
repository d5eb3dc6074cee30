#include "servers/RemoteDesktopStart.h"

#include <memory>

#include "servers/RdpClientCommand.h"
#include "servers/RdpFailureMessage.h"
#include "servers/RdpSessionLog.h"

namespace vpsdesk::servers {

RdpStart StartRemoteDesktop(const std::filesystem::path& program_folder, const HostPort& target,
                            const std::string& password, const RemoteDesktopSettings& settings,
                            LoginSwitchMemory& switch_memory, const RdpStartServices& services,
                            RdpSessionEnd on_end) {
    const std::string login_switch = switch_memory.Choose(settings.forced_login);
    const RdpLocalDevices devices = services.devices(settings);
    const RdpConnectionFile file = MakeRdpConnectionFile(
        program_folder, target, password, HonouredRdpSettings(settings, devices), services.protection);
    // Without a program folder the path would be relative to the working directory.
    if (program_folder.empty() || !WriteRdpFile(file.path, file.bytes))
        return {RdpStartStatus::kFileNotWritten, -1, kRdpWriteFailed};

    if (services.wait) services.wait();

    os::LaunchRequest request = RdpClientCommand(file.path, login_switch, settings.window_mode,
                                                 password, RdpDeviceSwitches(settings, devices));
    // The session's log is read as it comes; both callbacks run on the watching thread.
    auto log = std::make_shared<RdpSessionLog>();
    request.on_output_line = [log](std::string_view line) { log->Read(line); };
    request.on_end = [log, on_end = std::move(on_end)](const os::ProgramEnd& end) {
        if (on_end) on_end(end, RdpFailureMessage(end, *log));
    };
    const os::LaunchResult started = services.launcher.Launch(request);
    switch (started.status) {
        case os::LaunchStatus::kStarted:
            return {RdpStartStatus::kStarted, started.pid, {}};
        case os::LaunchStatus::kNotFound:
            return {RdpStartStatus::kClientMissing, -1, RdpClientMissingMessage()};
        case os::LaunchStatus::kFailed:
            break;
    }
    return {RdpStartStatus::kClientFailed, -1, RdpClientFailedMessage(started.error)};
}

}  // namespace vpsdesk::servers
