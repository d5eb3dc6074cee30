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
    // A failed registration's caption stays twice as long as a login's.
    int long_hold_ms = 2000;
    // One step of the registration code button's countdown, and the pause after a code
    // request's caption before the countdown or the old caption takes over.
    int countdown_tick_ms = 1000;
    int code_caption_hold_ms = 1000;
};

}  // namespace vpsdesk::account
