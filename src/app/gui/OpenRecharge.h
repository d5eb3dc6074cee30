#pragma once
// The recharge window as every recharge link opens it: modal over the window whose link
// was clicked, and followed by a profile refresh, so the balance the windows show moves
// as soon as the platform has credited the account.
#include "platform/SessionState.h"
#include "platform/SiteConstants.h"

class QWidget;

namespace vpsdesk::app {

void OpenRecharge(const platform::SiteConstants& site, platform::SessionState& session,
                  QWidget* owner);

}  // namespace vpsdesk::app
