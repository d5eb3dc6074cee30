#pragma once
// What every platform request shares: the header set of the requests that
// pose as a browser, the logout and the plain-text commands.
#include <string>
#include <string_view>

#include "net/ByteArray.h"
#include "platform/PlatformRequest.h"
#include "platform/SiteConstants.h"

namespace vpsdesk::platform {

// The seven header lines of a browser request, in order, joined by "\r\n".
std::string BrowserHeaders(const platform::SiteConstants& site);

// Ends the platform's sign-in of this process: GET /user/logout.asp with the browser
// header set. The reply is not looked at, and a failure is not reported.
void PlatformLogout(const platform::SiteConstants& site);

// A command: GET the site's CommandUrl + `name`, the reply as text (empty when the request
// failed).
std::string FetchCommand(const platform::SiteConstants& site, std::string_view name);
// The same, telling a network failure apart from a platform that answered.
PlatformResponse FetchCommandReply(const platform::SiteConstants& site, std::string_view name);

}  // namespace vpsdesk::platform
