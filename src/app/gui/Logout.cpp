#include "app/gui/Logout.h"

#include <QWidget>

#include "account/gui/LoginWindow.h"
#include "platform/PlatformApi.h"
#include "ui/PumpedCall.h"
#include "ui/Waiting.h"

namespace vpsdesk::app {

void Logout(account::LoginWindow& login_window, QWidget& main_window,
            platform::SessionState& session, const platform::SiteConstants& site,
            const std::function<void()>& remove_tray_icon,
            const std::function<void()>& forget_customer) {
    if (remove_tray_icon) remove_tray_icon();
    main_window.setEnabled(false);
    login_window.EnableLoginButton();
    ui::CallKeepingWindowResponsive([site] {
        platform::PlatformLogout(site);
        return true;
    });
    session.session_ended = 1;
    // After the logout request: a load the old sign-in still had out is dropped, and one
    // started from now on finds the platform signed out.
    session.ClearCustomer();
    if (forget_customer) forget_customer();
    ui::WaitPumping(2, ui::WaitUnit::Seconds);
    login_window.show();
    main_window.hide();
    main_window.setEnabled(true);
}

}  // namespace vpsdesk::app
