#include "net/PhaseTimeout.h"

#include <cstdint>
#include <limits>

namespace vpsdesk::net {

std::optional<std::chrono::milliseconds> PhaseTimeout(long long timeout_seconds) {
    constexpr long long kDefaultSeconds = 30;
    constexpr long long kMaxSeconds = std::numeric_limits<std::int32_t>::max() / 1000;
    if (timeout_seconds <= 0) return std::chrono::seconds(kDefaultSeconds);
    if (timeout_seconds > kMaxSeconds) return std::nullopt;
    return std::chrono::seconds(timeout_seconds);
}

}  // namespace vpsdesk::net
