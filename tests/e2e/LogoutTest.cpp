// Log-out in-process, against the reference platform: the platform forgets the sign-in,
// the background loops are told to stop, and the login window comes back usable.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>

#include "E2eSupport.h"
#include "account/gui/LoginWindow.h"
#include "app/gui/Logout.h"
#include "platform/SessionState.h"
#include "platform/SiteConstants.h"

namespace e2e {
namespace {

TEST(Logout, ForgetsTheSignInStopsTheLoopsAndShowsTheLoginWindowAgain) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "e2e_tests";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);

    TempFolder root;
    Platform platform(root / "platform", {"--demo"});
    const vpsdesk::platform::SiteConstants site{platform.Site(), "Ver 4.92"};
    vpsdesk::platform::SessionState session;

    vpsdesk::account::LoginWindow login(site, session);
    QWidget main_window;
    auto* button = login.findChild<QPushButton*>(QStringLiteral("loginButton"));
    ASSERT_NE(button, nullptr);
    // As after a successful login: login hidden and its button disabled, main shown.
    button->setEnabled(false);
    main_window.show();

    vpsdesk::app::Logout(login, main_window, session, site);

    EXPECT_TRUE(login.isVisible());
    EXPECT_FALSE(main_window.isVisible());
    EXPECT_TRUE(button->isEnabled());
    EXPECT_EQ(session.session_ended, 1);
    EXPECT_NE(platform.Control("requests", {}, false).find("/user/logout.asp"), std::string::npos);
}

}  // namespace
}  // namespace e2e
