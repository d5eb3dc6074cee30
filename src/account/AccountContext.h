#pragma once
// What the account windows work with: the platform they ask, the signed-in session they
// read and fill, and the client's title for greetings. The composition root hands it in.
#include <functional>
#include <string>

#include "platform/SessionState.h"
#include "platform/SiteConstants.h"

class QWidget;

namespace vpsdesk::account {

struct AccountContext {
    platform::SiteConstants site;
    platform::SessionState& session;
    std::string client_title;  // as start-up fetched it; empty when none came
    // Opens the recharge window over `owner`, modally; without it there is no "充值" link.
    std::function<void(QWidget* owner)> recharge = {};
};

}  // namespace vpsdesk::account
