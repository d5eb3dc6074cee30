#pragma once
// What the customer is told when the remote-desktop client ends badly, in his words, from
// xfreerdp's exit code (FreeRDP 2's documented XF_EXIT_* values) and its log lines.
#include <chrono>
#include <optional>
#include <string>

#include "os/ProcessLauncher.h"
#include "servers/RdpSessionLog.h"

namespace vpsdesk::servers {

// A session that ends with an error sooner than this is reported even when it had become
// active (the remote desktop flashed up and vanished).
inline constexpr std::chrono::seconds kEarlySessionEnd{10};

inline constexpr std::string_view kRdpFailurePrefix = "远程连接失败：";

// Nothing for a session that ended the way sessions end (closed by the customer, logged
// off, stopped by a signal meant to stop it), and nothing for an error after the session
// had been active for kEarlySessionEnd or longer. Otherwise kRdpFailurePrefix and what
// failed.
std::optional<std::string> RdpFailureMessage(const os::ProgramEnd& end, const RdpSessionLog& log);

}  // namespace vpsdesk::servers
