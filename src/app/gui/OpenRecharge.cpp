#include "app/gui/OpenRecharge.h"

#include "account/ProfileApi.h"
#include "shop/gui/RechargeWindow.h"
#include "ui/Waiting.h"

namespace vpsdesk::app {

void OpenRecharge(const platform::SiteConstants& site, platform::SessionState& session,
                  QWidget* owner) {
    {
        shop::RechargeWindow recharge(site, session.UserName(), owner);
        recharge.exec();
    }
    // On a worker: the windows read the kept balance, the keep-alive keeps it fresh later.
    ui::RunInBackground([site, &session] { (void)account::RefreshProfile(site, session); });
}

}  // namespace vpsdesk::app
