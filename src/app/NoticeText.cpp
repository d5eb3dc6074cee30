#include "app/NoticeText.h"

#include <algorithm>

#include "net/Text.h"
#include "platform/PlatformApi.h"

namespace vpsdesk::app {

std::string FetchNoticeText(const platform::SiteConstants& site) {
    return FetchNoticeReply(site).text;
}

platform::PlatformResponse FetchNoticeReply(const platform::SiteConstants& site) {
    return platform::FetchCommandReply(site, "gg");
}

std::string FetchPopupText(const platform::SiteConstants& site) {
    return platform::FetchCommand(site, "tcgg");
}

std::vector<std::string> NoticeEntries(std::string_view text) {
    if (text.empty()) return {};
    const auto count = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    std::vector<std::string> entries = net::SplitText(text, "\r\n");
    entries.resize(count);  // never shorter than the pieces: each CR LF holds a line feed
    return entries;
}

}  // namespace vpsdesk::app
