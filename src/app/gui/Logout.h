#pragma once
// Signing out while the client keeps running: the platform forgets the sign-in, the
// background loops stop, and the login window comes back with its fields as they were.
#include <functional>

#include "platform/SessionState.h"
#include "platform/SiteConstants.h"

class QWidget;

namespace vpsdesk::account {
class LoginWindow;
}

namespace vpsdesk::app {

// UI thread. `session` is the signed-in one, `site` the platform it is signed in to. Takes
// the icon out of the notification area first (`remove_tray_icon`, when
// given), sends the logout request with the windows responsive, then forgets the customer:
// the session's credentials and profile, and whatever `forget_customer` clears in the
// windows (rows, selection, names). It then waits two seconds so that the signed-in
// loops see session_ended and stop, and only then shows the login window. The main window
// takes no input meanwhile.
void Logout(account::LoginWindow& login_window, QWidget& main_window,
            platform::SessionState& session, const platform::SiteConstants& site,
            const std::function<void()>& remove_tray_icon = {},
            const std::function<void()>& forget_customer = {});

}  // namespace vpsdesk::app
