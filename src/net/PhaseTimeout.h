#pragma once
// The time-out of each phase of a WinHttpRequest (resolve and connect, send, receive).
#include <chrono>
#include <optional>

namespace vpsdesk::net {

// `timeout_seconds` above 0 in milliseconds, else 30 seconds; nothing when the
// milliseconds would not fit a 32-bit count.
std::optional<std::chrono::milliseconds> PhaseTimeout(long long timeout_seconds);

}  // namespace vpsdesk::net
