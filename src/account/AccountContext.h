#pragma once
// What the account windows work with: the platform they ask, the signed-in session they
// read and fill, and the client's title for greetings. The composition root hands it in.
#include <string>

#include "platform/SessionState.h"
#include "platform/SiteConstants.h"

namespace vpsdesk::account {

struct AccountContext {
    platform::SiteConstants site;
    platform::SessionState& session;
    std::string client_title;  // as start-up fetched it; empty when none came
};

}  // namespace vpsdesk::account
