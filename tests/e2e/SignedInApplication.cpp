#include "SignedInApplication.h"

#include "account/LoginApi.h"
#include "account/ProfileApi.h"

namespace e2e {

void SignedInApplication::StartSignedIn(const std::vector<std::string>& args) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    application_ = std::make_unique<QApplication>(argc_, argv_);
    platform_ = std::make_unique<Platform>(root_ / "platform", args);
    site_ = {platform_->Site(), "Ver 4.92"};
    ASSERT_EQ(vpsdesk::account::SilentRelogin(site_, "demo", "demo2026", "E2E"), "1000");
    ASSERT_TRUE(vpsdesk::account::RefreshProfile(site_, session_));
}

}  // namespace e2e
