#pragma once
// The platform's two announcement texts and how the notice line reads the first.
#include <string>
#include <string_view>
#include <vector>

#include "platform/PlatformRequest.h"
#include "platform/SiteConstants.h"

namespace vpsdesk::app {

// Command "gg": the notice lines, CR LF between them. Empty when the request failed.
std::string FetchNoticeText(const platform::SiteConstants& site);
// The same, telling a network failure apart from a platform without notices.
platform::PlatformResponse FetchNoticeReply(const platform::SiteConstants& site);
// Command "tcgg": the announcement shown once after sign-in. Empty when there is none.
std::string FetchPopupText(const platform::SiteConstants& site);

// The lines one cycle of the notice line shows after the tip. There is one entry per
// line feed plus one (none for an empty text); entry i is the i-th piece of the text
// split at CR LF, or empty when there are fewer pieces. So lines ended by CR LF end the
// cycle with an empty entry, and lines split by bare line feeds show as one.
std::vector<std::string> NoticeEntries(std::string_view text);

}  // namespace vpsdesk::app
