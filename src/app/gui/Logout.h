#pragma once
// Signing out while the client keeps running: the platform forgets the sign-in, the
// background loops stop, and the login window comes back with its fields as they were.
#include <functional>

class QWidget;

namespace vpsdesk::account {
class LoginWindow;
}

namespace vpsdesk::app {

// UI thread. Takes the icon out of the notification area first (`remove_tray_icon`, when
// given), blocks for the logout request, then waits two seconds with the windows
// responsive so that the signed-in loops see session_ended and stop.
void Logout(account::LoginWindow& login_window, QWidget& main_window,
            const std::function<void()>& remove_tray_icon = {});

}  // namespace vpsdesk::app
