#include <gtest/gtest.h>

#include <QLabel>
#include <QSignalSpy>
#include <QVBoxLayout>

#include "GuiTestSupport.h"
#include "ui/CaptionSlider.h"
#include "ui/FadeAnimation.h"
#include "ui/HintEdit.h"
#include "ui/SlideAnimation.h"

using namespace vpsdesk::ui;
using vpsdesk::ui::guitest::PumpUntil;

TEST(SlideAnimation, SlidesAPanelInAndStoppingLeavesItOnTheWay) {
    QWidget window;
    window.resize(800, 400);
    QWidget panel(&window);
    panel.setGeometry(0, 40, 200, 200);
    window.show();

    SlideAnimation slide(&panel);
    slide.Configure(30);
    QSignalSpy finished(&slide, &SlideAnimation::finished);
    slide.Slide(QPoint(600, 40), QPoint(68, 40));
    EXPECT_TRUE(slide.IsRunning());
    PumpUntil([&] { return finished.count() == 1; });
    EXPECT_EQ(panel.pos(), QPoint(68, 40));

    slide.Configure(60 * 60 * 1000);  // long enough never to end by itself here
    slide.SlideTo(QPoint(600, 40));
    PumpUntil([&] { return panel.pos().x() > 68; });
    slide.Stop();
    EXPECT_FALSE(slide.IsRunning());
    const QPoint stopped = panel.pos();
    EXPECT_LT(stopped.x(), 600);
    QCoreApplication::processEvents();
    EXPECT_EQ(panel.pos(), stopped);
}

TEST(FadeAnimation, AWindowFadesOutToHiddenAndBackIn) {
    QWidget window;
    window.show();
    FadeAnimation fade(&window);
    fade.Configure(20);
    QSignalSpy finished(&fade, &FadeAnimation::finished);

    fade.FadeOut();
    PumpUntil([&] { return finished.count() == 1; });
    EXPECT_FALSE(window.isVisible());
    EXPECT_DOUBLE_EQ(window.windowOpacity(), 1.0);  // restored, so a later show() is normal

    fade.FadeIn();
    EXPECT_TRUE(window.isVisible());
    EXPECT_LT(fade.Opacity(), 1.0);
    PumpUntil([&] { return finished.count() == 2; });
    EXPECT_DOUBLE_EQ(window.windowOpacity(), 1.0);
}

TEST(FadeAnimation, AWidgetInsideAWindowFadesThroughAnEffect) {
    QWidget window;
    QLabel version(QStringLiteral("恭喜，当前已是最新版本！"), &window);
    version.hide();
    window.show();
    FadeAnimation fade(&version);
    fade.Configure(20);
    QSignalSpy finished(&fade, &FadeAnimation::finished);
    fade.FadeIn();
    EXPECT_TRUE(version.isVisible());
    EXPECT_NE(version.graphicsEffect(), nullptr);
    PumpUntil([&] { return finished.count() == 1; });
    EXPECT_DOUBLE_EQ(fade.Opacity(), 1.0);

    fade.FadeOut(false);
    PumpUntil([&] { return finished.count() == 2; });
    EXPECT_TRUE(version.isVisible());
    EXPECT_DOUBLE_EQ(fade.Opacity(), 0.0);
}

TEST(CaptionSlider, TheCaptionRisesOnFocusAndComesDownOnlyWhenTheHintReturns) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* other = new HintEdit(QStringLiteral("用户名/账号"), HintEdit::Kind::Plain, &window);
    auto* phone = new HintEdit(QStringLiteral("手机号码"), HintEdit::Kind::Plain, &window);
    layout->addWidget(other);
    layout->addSpacing(40);
    layout->addWidget(phone);
    window.show();
    QApplication::setActiveWindow(&window);
    PumpUntil([&] { return window.isActiveWindow(); });
    auto* caption = new QLabel(QStringLiteral("手机号码"), &window);
    caption->move(10, 60);
    caption->show();

    CaptionSlider slider(phone, caption, 16);
    slider.Animation()->Configure(10);
    QSignalSpy moved(slider.Animation(), &SlideAnimation::finished);
    const auto focus = [&](QWidget* w) {
        w->setFocus(Qt::TabFocusReason);
        PumpUntil([&] { return w->hasFocus(); });
    };

    focus(phone);
    PumpUntil([&] { return moved.count() == 1; });
    EXPECT_EQ(caption->pos(), QPoint(10, 44));

    phone->setText(QStringLiteral("13800000000"));
    focus(other);
    EXPECT_TRUE(slider.IsRaised());

    focus(phone);
    phone->clear();
    focus(other);
    PumpUntil([&] { return moved.count() == 2; });
    EXPECT_EQ(caption->pos(), QPoint(10, 60));
}
