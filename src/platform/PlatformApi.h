#pragma once
// What every platform request shares: its addresses, the header set of the requests that
// pose as a browser, the logout and the plain-text commands.
#include <string>
#include <string_view>

#include "net/ByteArray.h"
#include "platform/SiteConstants.h"

namespace vpsdesk::platform {

// "https://" + the site host, and that + "/khd?act=", for the process's site.
std::string BaseUrl();
std::string CommandUrl();

// The seven header lines of a browser request, in order, joined by "\r\n".
std::string BrowserHeaders(const platform::SiteConstants& site);
std::string BrowserHeaders();

// Ends the platform's sign-in of this process: GET /user/logout.asp with the browser
// header set. The reply is not looked at, and a failure is not reported.
void PlatformLogout();

// A command: GET CommandUrl + `name`, the reply as text (empty when the request failed).
std::string FetchCommand(std::string_view name);

}  // namespace vpsdesk::platform
