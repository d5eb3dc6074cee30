#include "app/gui/PopupNotice.h"

#include "app/NoticeText.h"
#include "app/gui/ExitClient.h"
#include "ui/MessageBoxes.h"
#include "ui/Waiting.h"

namespace vpsdesk::app {

void RunPopupNotice(platform::SessionState& session, const std::function<std::string()>& fetch,
                    const std::function<void(const std::string&)>& show) {
    const std::string text = fetch();
    // A sign-out during the request leaves nothing to announce to.
    if (text.empty() || session.session_ended.load() != 0 || ClientExiting()) return;
    show(text);
}

void StartPopupNotice(platform::SessionState& session, const platform::SiteConstants& site) {
    ui::RunInBackground([&session, site] {
        RunPopupNotice(
            session, [&site] { return FetchPopupText(site); },
            [](const std::string& text) {
                ui::ShowMessage(text, kPopupNoticeTitle, ui::MessageIcon::Information);
            });
    });
}

}  // namespace vpsdesk::app
