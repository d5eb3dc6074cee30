#pragma once
// The real-name gate in front of the server list, its context menu and card activation.
class QWidget;

namespace vpsdesk::account {

// True when the session's real-name status lets the user through. Otherwise tells the
// user to verify first, opens the personal-information window modally and returns false.
// UI thread only.
bool PassRealNameGate(QWidget* parent);

}  // namespace vpsdesk::account
