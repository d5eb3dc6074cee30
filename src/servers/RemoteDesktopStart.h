#pragma once
// Starting a remote-desktop session on a server, without boxes: the connection file
// written from the settings, the wait, the remote-desktop client started and its session
// watched. The window half and the terminal client both run it, and each shows the
// failures its own way.
#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "os/DataProtection.h"
#include "os/ProcessLauncher.h"
#include "servers/RdpLocalDevices.h"
#include "servers/RemoteDesktopLaunch.h"

namespace vpsdesk::servers {

inline constexpr const char* kGraphicsCardWarning =
    "检测到您远程的机器为显卡机器，此远程桌面为临时远程，请使用向日葵\\TD等方式远程（使用临时远程"
    "后一定要重启，否则会导致显卡功能不生效）";
inline constexpr const char* kRdpWriteFailed =
    "写入RDP文件失败，请确保软件未被杀毒软件拦截或者软件已经解压";

// Between the written file and the start of the remote-desktop client.
inline constexpr std::chrono::milliseconds kRdpStartWait{50};

// What the start runs on: the program starter, the password protection, this computer's
// devices and the wait between the written file and the start.
struct RdpStartServices {
    os::ProcessLauncher& launcher;
    const os::DataProtection& protection;
    std::function<RdpLocalDevices(const RemoteDesktopSettings&)> devices;
    std::function<void()> wait;
};

enum class RdpStartStatus { kStarted, kFileNotWritten, kClientMissing, kClientFailed };

struct RdpStart {
    RdpStartStatus status = RdpStartStatus::kFileNotWritten;
    pid_t pid = -1;       // when started
    std::string message;  // what a failure tells the customer; empty when started
};

// Runs on the launcher's watching thread once the client has ended: how it ended, and what
// the customer is told about a failed session (RdpFailureMessage), if anything.
using RdpSessionEnd =
    std::function<void(const os::ProgramEnd& end, const std::optional<std::string>& failure)>;

// Writes History/<host>.rdp under `program_folder` from `settings` as xfreerdp can honour
// them with this computer's devices, waits, and starts xfreerdp on it. Nothing is started
// when the file cannot be written (or there is no program folder).
RdpStart StartRemoteDesktop(const std::filesystem::path& program_folder, const HostPort& target,
                            const std::string& password, const RemoteDesktopSettings& settings,
                            LoginSwitchMemory& switch_memory, const RdpStartServices& services,
                            RdpSessionEnd on_end);

}  // namespace vpsdesk::servers
