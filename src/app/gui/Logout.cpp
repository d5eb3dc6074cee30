#include "app/gui/Logout.h"

#include <QWidget>

#include "account/PlatformApi.h"
#include "account/gui/LoginWindow.h"
#include "app/SessionState.h"
#include "ui/Waiting.h"

namespace vpsdesk::app {

void Logout(account::LoginWindow& login_window, QWidget& main_window,
            const std::function<void()>& remove_tray_icon) {
    if (remove_tray_icon) remove_tray_icon();
    login_window.EnableLoginButton();
    account::PlatformLogout();
    Session().session_ended = 1;
    ui::WaitPumping(2, ui::WaitUnit::Seconds);
    login_window.show();
    main_window.hide();
}

}  // namespace vpsdesk::app
