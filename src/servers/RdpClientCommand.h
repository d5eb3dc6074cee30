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

#include "os/ProcessLauncher.h"

namespace vpsdesk::servers {

inline constexpr std::string_view kRdpClientProgram = "xfreerdp";
inline constexpr std::string_view kRdpClientPackage = "freerdp2-x11";

// What the customer is told when xfreerdp is not installed, and when it fails to start.
std::string RdpClientMissingMessage();
std::string RdpClientFailedMessage(int error);

using DirectoryCheck = std::function<bool(const std::string& path)>;
bool IsExistingDirectory(const std::string& path);

// The drivestoredirect value xfreerdp accepts. The stored entries ("entry;" each) are
// mount points here; xfreerdp refuses the whole connection when one entry is not an
// existing path (a Windows drive letter such as "C:", a drive that was unplugged) or holds
// "(" or ")" (its label syntax), so those entries are left out. Its own "*",
// "DynamicDrives" and "%" stay. Nothing left gives an empty value (";" alone is refused).
std::string FreeRdpDriveList(std::string_view stored,
                             const DirectoryCheck& exists = IsExistingDirectory);

// xfreerdp FILE /from-stdin, then /admin for the " /admin " and " /console " switches
// (FreeRDP's admin session is the console session) and /f for full screen ("窗口模式"
// "0": FreeRDP only knows the value 2 for it). Standard input: the password and a line
// break, read when the server asks for it.
os::LaunchRequest RdpClientCommand(const std::filesystem::path& rdp_file,
                                   std::string_view login_switch, std::string_view window_mode,
                                   std::string_view password);

}  // namespace vpsdesk::servers
