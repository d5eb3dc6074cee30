#include <gtest/gtest.h>

#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include "GuiTestSupport.h"
#include "ui/HintEdit.h"
#include "ui/Skin.h"

using namespace vpsdesk::ui;

namespace {

// A shown, active window with an account box and a password box, so focus moves for real.
class HintEditTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto* layout = new QVBoxLayout(&window_);
        // Takes the focus when the window activates, so both boxes start untouched.
        neutral_ = new QPushButton(QStringLiteral("登录"), &window_);
        neutral_->setObjectName(QStringLiteral("loginButton"));
        layout->addWidget(neutral_);
        account_ = new HintEdit(QStringLiteral("用户名/账号"), HintEdit::Kind::Plain, &window_);
        account_->setObjectName(QStringLiteral("accountEdit"));
        password_ = new HintEdit(QStringLiteral("密码"), HintEdit::Kind::Password, &window_);
        password_->setObjectName(QStringLiteral("passwordEdit"));
        layout->addWidget(account_);
        layout->addWidget(password_);
        window_.show();
        QApplication::setActiveWindow(&window_);
        guitest::PumpUntil([&] { return window_.isActiveWindow(); });
        Focus(neutral_);
    }

    void Focus(QWidget* widget) {
        widget->setFocus(Qt::TabFocusReason);
        guitest::PumpUntil([&] { return widget->hasFocus(); });
    }

    static QColor TextColour(HintEdit* edit) {
        edit->ensurePolished();
        return edit->palette().color(QPalette::Text);
    }

    QWidget window_;
    QPushButton* neutral_ = nullptr;
    HintEdit* account_ = nullptr;
    HintEdit* password_ = nullptr;
};

}  // namespace

TEST_F(HintEditTest, AnUntouchedBoxHoldsItsHintAsItsRealText) {
    EXPECT_EQ(account_->text(), QStringLiteral("用户名/账号"));
    EXPECT_EQ(account_->Value(), "用户名/账号");
    EXPECT_TRUE(account_->IsShowingHint());
    EXPECT_EQ(TextColour(account_).rgba(), skin::kHintText);
    // The password box's hint is readable, not masked.
    EXPECT_EQ(password_->text(), QStringLiteral("密码"));
    EXPECT_EQ(password_->displayText(), QStringLiteral("密码"));
}

TEST_F(HintEditTest, FocusClearsTheHintAndTypedPasswordIsMaskedWithDots) {
    QSignalSpy gained(password_, &HintEdit::focusGained);
    Focus(password_);
    EXPECT_EQ(gained.count(), 1);
    EXPECT_EQ(password_->text(), QString());
    EXPECT_EQ(TextColour(password_).rgba(), skin::kText);

    QTest::keyClicks(password_, QStringLiteral("abc"));
    EXPECT_EQ(password_->text(), QStringLiteral("abc"));
    EXPECT_EQ(password_->displayText(), QStringLiteral("●●●"));

    // Leaving a box with input leaves it alone: still the input, still masked.
    Focus(account_);
    EXPECT_EQ(password_->text(), QStringLiteral("abc"));
    EXPECT_EQ(password_->displayText(), QStringLiteral("●●●"));
    Focus(password_);
    EXPECT_EQ(password_->text(), QStringLiteral("abc"));
}

TEST_F(HintEditTest, ABoxLeftEmptyGetsItsHintBackGreyAndUnmasked) {
    QSignalSpy lost(password_, &HintEdit::focusLost);
    Focus(password_);
    QTest::keyClicks(password_, QStringLiteral("x"));
    password_->clear();
    Focus(account_);
    EXPECT_EQ(lost.count(), 1);
    EXPECT_EQ(password_->text(), QStringLiteral("密码"));
    EXPECT_EQ(password_->displayText(), QStringLiteral("密码"));
    EXPECT_TRUE(password_->IsShowingHint());
    EXPECT_EQ(TextColour(password_).rgba(), skin::kHintText);
}

TEST_F(HintEditTest, APasswordSetByTheProgramIsMaskedWithoutFocus) {
    password_->setText(QStringLiteral("secret"));
    EXPECT_FALSE(password_->hasFocus());
    EXPECT_EQ(password_->displayText(), QStringLiteral("●●●●●●"));
    EXPECT_EQ(TextColour(password_).rgba(), skin::kText);
    password_->ResetToHint();
    EXPECT_EQ(password_->displayText(), QStringLiteral("密码"));
}

TEST_F(HintEditTest, KeyReleaseIsReportedOnReleaseNotOnPress) {
    Focus(password_);
    QSignalSpy released(password_, &HintEdit::keyReleased);
    QTest::keyPress(password_, Qt::Key_Return);
    EXPECT_EQ(released.count(), 0);
    QTest::keyRelease(password_, Qt::Key_Return);
    ASSERT_EQ(released.count(), 1);
    EXPECT_EQ(released.at(0).at(0).toInt(), static_cast<int>(Qt::Key_Return));
}
