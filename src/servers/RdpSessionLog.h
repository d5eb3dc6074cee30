#pragma once
// How far a remote-desktop connection got, read from xfreerdp's log lines as they come.
// xfreerdp logs each step of its connection ("rdp_client_transition_to_state NEGO -->
// NLA") under the tag com.freerdp.core.connection at debug level, which the launch turns on
// for that tag alone (kRdpClientLogFilter).
#include <string_view>

namespace vpsdesk::servers {

class RdpSessionLog {
  public:
    void Read(std::string_view line);

    // The session reached its active state: the remote desktop was on the screen.
    bool Active() const { return active_; }
    // The connection got as far as network-level authentication and no further: the
    // server hung up on the credentials (some servers close instead of sending an error).
    bool ended_at_authentication() const { return authenticating_ && !past_authentication_; }
    // xfreerdp could not open its window on this display.
    bool no_display() const { return no_display_; }

  private:
    bool active_ = false;
    bool authenticating_ = false;
    bool past_authentication_ = false;
    bool no_display_ = false;
};

}  // namespace vpsdesk::servers
