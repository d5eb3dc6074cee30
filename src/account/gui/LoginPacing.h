#pragma once
// The pauses of a login's result display. The defaults are the product's; tests shorten
// them so a login takes milliseconds instead of seconds.
#include <functional>

#include "account/LoginResult.h"

namespace vpsdesk::account {

struct LoginPacing {
    // Drawn at the start of every login: how long the busy spinner turns before the
    // result shows.
    std::function<ResultDelays()> draw_delays = DrawResultDelays;
    // How long a result caption stays before the window waits for the end frame.
    int result_hold_ms = 1000;
    // The automatic login lets the window settle this long before it starts.
    int auto_login_pause_ms = 1000;
    // Interval of the indicator's frame timer.
    int frame_interval_ms = 40;
};

}  // namespace vpsdesk::account
