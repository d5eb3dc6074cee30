#include "servers/RdpSessionLog.h"

namespace vpsdesk::servers {

void RdpSessionLog::Read(std::string_view line) {
    if (line.find("failed to open display") != std::string_view::npos) no_display_ = true;
    constexpr std::string_view kArrow = "--> CONNECTION_STATE_";
    const size_t arrow = line.find(kArrow);
    if (arrow == std::string_view::npos) return;
    std::string_view state = line.substr(arrow + kArrow.size());
    state = state.substr(0, state.find_first_of(" \r"));
    if (state == "NLA") {
        authenticating_ = true;
    } else if (state != "INITIAL" && state != "NEGO") {
        past_authentication_ = true;
        if (state == "ACTIVE") active_ = true;
    }
}

}  // namespace vpsdesk::servers
