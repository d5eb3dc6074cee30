#pragma once
// The remote-desktop client on Linux: FreeRDP's xfreerdp started on the connection file.
// Options after the file override the file; the password goes to it on standard input
// (/from-stdin), never on the command line or in the environment. No certificate option
// is given: the file's "authentication level:i:0" already connects without a certificate
// prompt, and any prompt would hang a client that has no terminal.
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "os/ProcessLauncher.h"

namespace vpsdesk::servers {

inline constexpr std::string_view kRdpClientProgram = "xfreerdp";
inline constexpr std::string_view kRdpClientPackage = "freerdp2-x11";
// Turns on the connection-state lines that RdpSessionLog reads, and nothing else.
inline constexpr std::string_view kRdpClientLogFilter =
    "WLOG_FILTER=com.freerdp.core.connection:DEBUG";

// What the customer is told when xfreerdp is not installed, and when it fails to start.
std::string RdpClientMissingMessage();
std::string RdpClientFailedMessage(int error);

using DirectoryCheck = std::function<bool(const std::string& path)>;
bool IsExistingDirectory(const std::string& path);

// The drivestoredirect value xfreerdp accepts. The stored entries ("entry;" each) are
// mount points here; xfreerdp refuses the whole connection when one entry is not an
// existing path (a Windows drive letter such as "C:", a drive that was unplugged) or holds
// "(" or ")" (its label syntax), so those entries are left out. So are paths with
// characters outside ASCII: the file is GBK, xfreerdp takes its bytes for the file name as
// they stand, finds no such folder and refuses the connection; FreeRdpDriveSwitches
// carries those. Its own "*", "DynamicDrives" and "%" stay. Nothing left gives an empty
// value (";" alone is refused).
std::string FreeRdpDriveList(std::string_view stored,
                             const DirectoryCheck& exists = IsExistingDirectory);

// The stored drives that FreeRdpDriveList leaves out for their characters, as xfreerdp's
// own "/drive:NAME,PATH" switches: the command line reaches it in the file system's own
// bytes. NAME is the path with "/" made "_", the name xfreerdp gives a path of the file.
// A path holding "," or a double quote (the switch's own syntax) cannot be passed.
std::vector<std::string> FreeRdpDriveSwitches(std::string_view stored,
                                              const DirectoryCheck& exists = IsExistingDirectory);

// xfreerdp FILE /from-stdin, then /admin for the " /admin " and " /console " switches
// (FreeRDP's admin session is the console session) and /f for full screen ("窗口模式"
// "0": FreeRDP only knows the value 2 for it). Standard input: the password and a line
// break, read when the server asks for it. `device_switches` follow (see RdpDeviceSwitches).
// The environment carries kRdpClientLogFilter.
os::LaunchRequest RdpClientCommand(const std::filesystem::path& rdp_file,
                                   std::string_view login_switch, std::string_view window_mode,
                                   std::string_view password,
                                   const std::vector<std::string>& device_switches = {});

}  // namespace vpsdesk::servers
