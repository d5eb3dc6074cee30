#include <gtest/gtest.h>

#include <QLabel>
#include <QMessageBox>
#include <atomic>
#include <functional>

#include "GuiTestSupport.h"
#include "ui/BalloonTip.h"
#include "ui/MessageBoxes.h"
#include "ui/Waiting.h"

using namespace vpsdesk::ui;
using vpsdesk::ui::guitest::ModalClicker;
using vpsdesk::ui::guitest::PumpUntil;

TEST(MessageBoxes, TheToolkitBoxShowsItsTitleAndReturnsTheButtonPressed) {
    QObject owner;
    ModalClicker clicker;
    clicker.Arm(&owner, QStringLiteral("messageBoxCancel"));
    EXPECT_EQ(
        ShowMessage("确定要申请退款吗？", "提示", MessageIcon::Question, MessageButtons::OkCancel),
        MessageResult::Cancel);
    EXPECT_EQ(clicker.title, QStringLiteral("提示"));
    EXPECT_EQ(clicker.text, QStringLiteral("确定要申请退款吗？"));

    ModalClicker yes;
    yes.Arm(&owner, QStringLiteral("messageBoxYes"));
    EXPECT_EQ(ShowMessage("继续？", "提示", MessageIcon::None, MessageButtons::YesNo),
              MessageResult::Yes);
}

TEST(MessageBoxes, APlainBoxHasOnlyOk) {
    QObject owner;
    ModalClicker clicker;
    clicker.Arm(&owner, QStringLiteral("messageBoxOk"));
    EXPECT_EQ(ShowPlainMessage("请选择地区", "信息："), MessageResult::Ok);
    EXPECT_EQ(clicker.title, QStringLiteral("信息："));
}

TEST(MessageBoxes, AWorkerGetsTheAnswerOfABoxShownOnTheUiThread) {
    QObject owner;
    ModalClicker clicker;
    clicker.Arm(&owner, QStringLiteral("messageBoxNo"));
    std::atomic<bool> done{false};
    MessageResult result = MessageResult::NotShown;
    ASSERT_TRUE(RunInBackground([&] {
        result = ShowMessage("重装系统？", "提示", MessageIcon::Warning, MessageButtons::YesNo);
        done = true;
    }));
    PumpUntil([&] { return done.load(); });
    EXPECT_TRUE(clicker.clicked);
    EXPECT_EQ(result, MessageResult::No);
}

TEST(MessageBoxes, TheSelfClosingBoxClosesItselfOnAnyThread) {
    EXPECT_EQ(ShowSelfClosingMessage("退款申请已提交", "友情提醒", 30), MessageResult::TimedOut);

    std::atomic<bool> done{false};
    MessageResult result = MessageResult::NotShown;
    ASSERT_TRUE(RunInBackground([&] {
        result = ShowSelfClosingMessage("退款申请已提交", "友情提醒", 30);
        done = true;
    }));
    PumpUntil([&] { return done.load(); });
    EXPECT_EQ(result, MessageResult::TimedOut);

    // Pressed before the time is up: the press counts.
    QObject owner;
    ModalClicker clicker;
    clicker.Arm(&owner, QStringLiteral("messageBoxOk"));
    EXPECT_EQ(ShowSelfClosingMessage("退款申请已提交", "友情提醒", 60 * 60 * 1000),
              MessageResult::Ok);
}

TEST(BalloonTip, ShowsTheTextFromAnyThreadAndOutlivesTheWindowItWasGivenFor) {
    {
        // A window that gives its tip as it closes, as the settings window does.
        QWidget window;
        window.show();
        ShowTip("已开启剪贴板");
        window.close();
    }
    QApplication::processEvents();
    EXPECT_EQ(ShownTip(), "已开启剪贴板");

    std::atomic<bool> done{false};
    ASSERT_TRUE(RunInBackground([&] {
        ShowTip("已关闭剪贴板");
        done = true;
    }));
    PumpUntil([&] { return done.load(); });
    EXPECT_EQ(ShownTip(), "已关闭剪贴板");  // the newer tip replaces the older
    HideTip();
    EXPECT_EQ(ShownTip(), "");

    // It goes away by itself.
    ShowTip("系统配置修改成功!");
    PumpUntil([] { return ShownTip().empty(); });
}

TEST(MessageBoxes, PlainAndSelfClosingBoxesStayReadableOverADarkSkinnedOwner) {
    QWidget owner;
    owner.setStyleSheet(QStringLiteral("QLabel { color: #FFFFFF; }"));
    owner.show();
    const std::function<MessageResult()> boxes[] = {
        [&] { return ShowPlainMessage("设置成功", {}, &owner); },
        [&] {
            return ShowSelfClosingMessage("申请成功，请等待客服审核", "友情提醒", 60 * 60 * 1000,
                                          &owner);
        },
    };
    for (const auto& show : boxes) {
        QColor text_colour;
        QTimer probe;
        QObject::connect(&probe, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr || !box->isVisible()) return;
            if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")))
                text_colour = label->palette().color(QPalette::WindowText);
            box->button(QMessageBox::Ok)->click();
        });
        probe.start(2);
        EXPECT_EQ(show(), MessageResult::Ok);
        EXPECT_EQ(text_colour, QColor(Qt::black));
    }
}
