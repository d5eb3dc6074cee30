#include <gtest/gtest.h>

#include <QImage>

#include "GuiTestSupport.h"
#include "account/gui/LoginWindow.h"
#include "account/gui/LogoSprite.h"
#include "platform/SessionState.h"

using vpsdesk::account::LoginWindow;
using vpsdesk::account::LogoSprite;
using vpsdesk::ui::guitest::PumpUntil;

TEST(LogoSprite, PlaysEveryFrameOnceAndRestsOnTheLast) {
    LogoSprite sprite;
    sprite.start(1);
    PumpUntil([&] { return !sprite.running(); });
    EXPECT_EQ(sprite.frame(), LogoSprite::kLastFrame);
    EXPECT_FALSE(sprite.running());
    EXPECT_NE(LogoSprite::drawFrame(0).toImage(), LogoSprite::drawFrame(25).toImage());
    EXPECT_EQ(LogoSprite::drawFrame(99).toImage(),
              LogoSprite::drawFrame(LogoSprite::kLastFrame).toImage())
        << "frames past the last rest on it";
}

TEST(LogoSprite, LoginWindowStartsItAndStopsItWithTheOtherAnimations) {
    vpsdesk::platform::SessionState session;
    LoginWindow window({}, session);
    auto* sprite = window.findChild<LogoSprite*>(QStringLiteral("logoSprite"));
    ASSERT_NE(sprite, nullptr);
    EXPECT_TRUE(sprite->running());
    window.StopAnimations();
    EXPECT_FALSE(sprite->running());
}
