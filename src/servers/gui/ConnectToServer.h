#pragma once
// Connecting to a server of the list by remote desktop: the double-click on a row and the
// menu entry "连接主机". UI thread only.
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "os/DataProtection.h"
#include "os/ProcessLauncher.h"
#include "servers/RdpLocalDevices.h"
#include "servers/RemoteDesktopStart.h"
#include "servers/ServerRow.h"

class QWidget;

namespace vpsdesk::servers {

class ServerListPage;

// Where a launch reports its milestones, "remote-desktop-started PID" and
// "remote-desktop-ended CODE" (or "signal N"); the caller decides where they go. Called on
// the UI thread and on the launcher's watching thread. Empty: they go nowhere.
using LaunchEvents = std::function<void(std::string_view line)>;

// Nothing for a row whose status is not "运行中" or whose address does not split; the
// "显卡" notice first for a graphics-card server; then LaunchRemoteDesktop.
void ConnectToServer(QWidget* parent, const ServerRow& row, const LaunchEvents& events = {});

// Writes History/<host>.rdp from the current settings as xfreerdp can honour them with
// this computer's devices, waits 50 ms with the window alive and starts xfreerdp on it. A
// file that cannot be written, a missing or failing xfreerdp are reported in a message
// box, and so is a session that fails (RdpFailureMessage) once xfreerdp has ended.
void LaunchRemoteDesktop(QWidget* parent, const std::string& host, const std::string& port,
                         const std::string& password, const LaunchEvents& events = {});

// Hooks the page's double-click and its "连接主机" entry to ConnectToServer.
void AttachRemoteDesktop(ServerListPage& page, LaunchEvents events);

// What tests and benchmarks replace: the program starter, the wait before it, and the
// password protection (so no key is made in the tester's own data folder), and the local
// devices (so a test does not depend on the tester's serial ports and sound).
struct RemoteDesktopSeams {
    std::shared_ptr<os::ProcessLauncher> launcher;  // null: the real one
    std::chrono::milliseconds wait{kRdpStartWait};
    std::shared_ptr<const os::DataProtection> protection;  // null: the user's own
    std::function<RdpLocalDevices()> devices;              // null: this computer's
};
// Replaces the seams; a default-constructed value restores the real ones.
void SetRemoteDesktopSeamsForTests(RemoteDesktopSeams seams);

}  // namespace vpsdesk::servers
