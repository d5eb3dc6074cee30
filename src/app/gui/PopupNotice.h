#pragma once
// The announcement shown once after each sign-in.
#include <functional>
#include <string>
#include <string_view>

#include "platform/SessionState.h"
#include "platform/SiteConstants.h"

namespace vpsdesk::app {

inline constexpr std::string_view kPopupNoticeTitle = "公告";

// Fetches the pop-up text on this thread and, when there is one and the session has not
// ended, shows it in a box titled "公告" and waits for it to close.
void RunPopupNotice(platform::SessionState& session, const std::function<std::string()>& fetch,
                    const std::function<void(const std::string&)>& show);

// The client's pop-up: command "tcgg" on a detached thread.
void StartPopupNotice(platform::SessionState& session, const platform::SiteConstants& site);

}  // namespace vpsdesk::app
