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
    sprite.Start(1);
    PumpUntil([&] { return !sprite.Running(); });
    EXPECT_EQ(sprite.Frame(), LogoSprite::kLastFrame);
    EXPECT_FALSE(sprite.Running());
    EXPECT_NE(LogoSprite::DrawFrame(0).toImage(), LogoSprite::DrawFrame(25).toImage());
    EXPECT_EQ(LogoSprite::DrawFrame(99).toImage(),
              LogoSprite::DrawFrame(LogoSprite::kLastFrame).toImage())
        << "frames past the last rest on it";
}

TEST(LogoSprite, LoginWindowStartsItAndStopsItWithTheOtherAnimations) {
    vpsdesk::platform::SessionState session;
    LoginWindow window({}, session);
    auto* sprite = window.findChild<LogoSprite*>(QStringLiteral("logoSprite"));
    ASSERT_NE(sprite, nullptr);
    EXPECT_TRUE(sprite->Running());
    window.StopAnimations();
    EXPECT_FALSE(sprite->Running());
}
