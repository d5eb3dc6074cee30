#pragma once
// The real-name gate in front of the server list, its context menu and card activation.
#include "account/AccountContext.h"

class QWidget;

namespace vpsdesk::account {

// True when the real-name status of `context`'s session lets the user through. Otherwise tells the
// user to verify first, opens the personal-information window modally and returns false.
// UI thread only.
bool PassRealNameGate(const AccountContext& context, QWidget* parent);

}  // namespace vpsdesk::account
