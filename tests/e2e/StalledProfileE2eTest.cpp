// The personal window against a platform that stalls part-way through the profile: the
// window stays responsive while it waits, then shows what the client already held. The
// failed load changes none of the customer's values.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <memory>

#include "E2eSupport.h"
#include "SignedInApplication.h"
#include "account/LoginApi.h"
#include "account/ProfileApi.h"
#include "account/gui/PersonalWindow.h"
#include "platform/SessionState.h"
#include "platform/SiteConstants.h"

using namespace e2e;
namespace account = vpsdesk::account;
namespace platform = vpsdesk::platform;

namespace {

class StalledProfileE2e : public SignedInApplication {
  protected:
    void SetUp() override { StartSignedIn(); }
};

TEST_F(StalledProfileE2e, ThePersonalWindowWaitsResponsivelyAndShowsTheValuesItHeld) {
    const platform::ProfileTexts held = session_.Profile();
    ASSERT_FALSE(held.mobile.empty());
    ASSERT_NE(held.balance, "元");

    const ShortStallLimit limit;
    platform_->StallNextReply("/user/userinfo",
                              R"({"code":0,"data":{"usermoney":"0.00","mobi":"13900000000"}})");
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(20);
    account::PersonalWindow window({site_, session_, "云桌面管家"});
    ticker.stop();
    EXPECT_GT(ticks, 0) << "the window did not handle events while it waited";

    const platform::ProfileTexts now = session_.Profile();
    EXPECT_EQ(now.balance, held.balance);
    EXPECT_EQ(now.mobile, held.mobile);
    EXPECT_EQ(now.real_name_status, held.real_name_status);
    const auto* mobile = window.findChild<QLabel*>(QStringLiteral("mobileValue"));
    ASSERT_NE(mobile, nullptr);
    EXPECT_EQ(mobile->text().toStdString(), held.mobile);
    EXPECT_NE(window.BalanceLabel()->text().toStdString().find(held.balance), std::string::npos)
        << window.BalanceLabel()->text().toStdString();

    // The next load, unscripted, reads the platform again.
    EXPECT_TRUE(account::RefreshProfile(site_, session_));
}

}  // namespace
