#include <gtest/gtest.h>

#include <QLabel>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>

#include "GuiTestSupport.h"
#include "ui/CaptionLabel.h"
#include "ui/Skin.h"
#include "ui/SkinnedWindow.h"

using namespace vpsdesk::ui;

namespace {

class SkinnedWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        window_.resize(400, 300);
        window_.move(100, 100);
        window_.show();
        guitest::PumpUntil([&] { return window_.isVisible(); });
    }

    // Presses at `local`, moves the pointer by `delta` and releases, as a user drags.
    void Drag(QWidget* on, QPoint local, QPoint delta) {
        const QPoint global = on->mapToGlobal(local);
        QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(on, &press);
        QMouseEvent move(QEvent::MouseMove, local + delta, global + delta, Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(on, &move);
        QMouseEvent release(QEvent::MouseButtonRelease, local + delta, global + delta,
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(on, &release);
    }

    static QColor CaptionColour(CaptionLabel* label) {
        label->ensurePolished();
        return label->palette().color(QPalette::WindowText);
    }

    SkinnedWindow window_;
};

}  // namespace

TEST_F(SkinnedWindowTest, IsFramelessWithCloseAndMinimiseCaptionsThatChangeColourOnHover) {
    EXPECT_TRUE(window_.windowFlags() & Qt::FramelessWindowHint);
    auto* close = window_.findChild<CaptionLabel*>(QStringLiteral("closeLabel"));
    auto* minimize = window_.findChild<CaptionLabel*>(QStringLiteral("minimizeLabel"));
    ASSERT_NE(close, nullptr);
    ASSERT_NE(minimize, nullptr);
    EXPECT_EQ(close->text(), QStringLiteral("×"));
    EXPECT_EQ(minimize->text(), QStringLiteral("-"));
    EXPECT_EQ(close->geometry().right(), window_.width() - 1);

    EXPECT_EQ(CaptionColour(close).rgba(), skin::kCaptionIdle);
    QEnterEvent enter(QPointF(3, 3), QPointF(3, 3), close->mapToGlobal(QPointF(3, 3)));
    QApplication::sendEvent(close, &enter);
    EXPECT_EQ(CaptionColour(close).rgba(), skin::kCaptionHover);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(close, &leave);
    EXPECT_EQ(CaptionColour(close).rgba(), skin::kCaptionIdle);
}

TEST_F(SkinnedWindowTest, MinimiseMinimisesWithoutHidingAndCloseCloses) {
    auto* minimize = window_.MinimizeLabel();
    QTest::mouseClick(minimize, Qt::LeftButton);
    EXPECT_TRUE(window_.isMinimized());
    EXPECT_TRUE(window_.isVisible());

    window_.showNormal();
    QTest::mouseClick(window_.CloseLabel(), Qt::LeftButton);
    EXPECT_FALSE(window_.isVisible());
}

TEST_F(SkinnedWindowTest, AModalWindowShowsNoMinimiseCaption) {
    // Minimised, a modal window would still block the window below it, unseen.
    EXPECT_TRUE(window_.MinimizeLabel()->isVisible());
    SkinnedWindow dialog(&window_);
    bool minimise_shown_while_modal = true;
    QTimer::singleShot(0, &dialog, [&] {
        minimise_shown_while_modal = dialog.MinimizeLabel()->isVisible();
        dialog.close();
    });
    dialog.exec();
    EXPECT_FALSE(minimise_shown_while_modal);
    // Shown modeless, the same window can be minimised again.
    dialog.show();
    EXPECT_TRUE(dialog.MinimizeLabel()->isVisible());
}

TEST_F(SkinnedWindowTest, EscapeDoesNotCloseTheWindow) {
    QTest::keyClick(&window_, Qt::Key_Escape);
    EXPECT_TRUE(window_.isVisible());
}

TEST_F(SkinnedWindowTest, DraggingTheBackgroundOrAPlainLabelMovesTheWindow) {
    const QPoint start = window_.pos();
    Drag(&window_, QPoint(150, 150), QPoint(30, 20));
    EXPECT_EQ(window_.pos(), start + QPoint(30, 20));

    QLabel caption(QStringLiteral("用户登录"), &window_);
    caption.setGeometry(20, 60, 100, 20);
    caption.show();
    Drag(&caption, QPoint(5, 5), QPoint(-10, 7));
    EXPECT_EQ(window_.pos(), start + QPoint(20, 27));
}

TEST_F(SkinnedWindowTest, PressingACaptionDoesNotDragAndAMoveWithoutPressDoesNothing) {
    const QPoint start = window_.pos();
    Drag(window_.MinimizeLabel(), QPoint(2, 2), QPoint(40, 40));
    EXPECT_EQ(window_.pos(), start);

    QMouseEvent hover(QEvent::MouseMove, QPointF(50, 50), window_.mapToGlobal(QPointF(90, 90)),
                      Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&window_, &hover);
    EXPECT_EQ(window_.pos(), start);
}
