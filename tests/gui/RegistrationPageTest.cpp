// The registration page against a reference platform with scripted replies: every caption
// the two buttons take, every message, what is sent, and the code countdown.
// Moc sees the whole file; the compiler only where the platform library is built.
#if defined(Q_MOC_RUN) || __has_include("Platform.h")

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "LocalPlatform.h"
#include "account/LoginApi.h"
#include "account/Registration.h"
#include "account/gui/RegistrationPage.h"
#include "net/Gbk.h"
#include "net/JsonDocument.h"
#include "ui/HintEdit.h"
#include "ui/ResultIndicator.h"

using namespace vpsdesk;
using account::RegistrationPage;
using ui::guitest::ModalClicker;

namespace {

class RegistrationPageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform_ = std::make_unique<ui::guitest::LocalPlatform>("registration-token");
        platform_->ClearLog();
        page_ = std::make_unique<RegistrationPage>(platform_->Site(), progress_);
        account::LoginPacing pacing;
        pacing.draw_delays = [] { return account::ResultDelays{}; };
        pacing.result_hold_ms = 0;
        pacing.long_hold_ms = 0;
        pacing.frame_interval_ms = 1;
        pacing.countdown_tick_ms = 1;
        pacing.code_caption_hold_ms = 0;
        page_->SetPacing(pacing);
        QObject::connect(page_.get(), &RegistrationPage::codeCaptionChanged,
                         [this](const QString& c) { code_captions_.push_back(c); });
        QObject::connect(page_.get(), &RegistrationPage::registerCaptionChanged,
                         [this](const QString& c) { register_captions_.push_back(c); });
        page_->show();
    }
    void TearDown() override {
        page_.reset();
        platform_.reset();
    }

    void Fill(const QString& mobile, const QString& password, const QString& confirmation,
              const QString& code) {
        for (auto [box, text] : {std::pair{page_->MobileBox(), mobile},
                                 std::pair{page_->PasswordBox(), password},
                                 std::pair{page_->ConfirmationBox(), confirmation},
                                 std::pair{page_->CodeBox(), code}}) {
            if (text.isNull())
                box->ResetToHint();
            else
                box->setText(text);
        }
    }
    // The bodies the platform got for `path`, as UTF-8.
    std::vector<std::string> Bodies(const std::string& path) {
        std::vector<std::string> bodies;
        for (const auto& request : platform_->Requests())
            if (request.path.rfind(path, 0) == 0)
                bodies.push_back(net::GbkToUtf8(request.body));
        return bodies;
    }
    bool CountdownOver() {
        return page_->CodeButton()->isEnabled() &&
               page_->CodeButton()->text() == QStringLiteral("发送验证码");
    }

    std::unique_ptr<ui::guitest::LocalPlatform> platform_;
    std::atomic<int> progress_{0};
    std::unique_ptr<RegistrationPage> page_;
    std::vector<QString> code_captions_;
    std::vector<QString> register_captions_;
};

TEST_F(RegistrationPageTest, ChecksInOrderAndSendsNothingUntilTheFormHolds) {
    const QString none;  // the box shows its hint
    struct Case {
        QString mobile, password, confirmation, code;
        const char* message;
    } cases[] = {
        {none, none, none, none, "手机号不能为空"},
        {"", "a", "a", "1", "手机号不能为空"},
        {"13700137000", none, "a", "1", "密码不能为空"},
        {"13700137000", "a", none, "1", "确认密码不能为空"},
        {"13700137000", "abc123", "abc123 ", "1", "两次密码不一致"},
        {"13700137000", "abc123", "abc123", none, "请正确填写验证码"},
        {"13700137000", "abc123", "abc123", "", "请正确填写验证码"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        Fill(c.mobile, c.password, c.confirmation, c.code);
        QObject scope;
        ModalClicker ok;
        ok.Arm(&scope, QStringLiteral("messageBoxOk"));
        page_->RegisterClicked();
        ASSERT_TRUE(ok.clicked);
        EXPECT_EQ(ok.title, QStringLiteral("错误"));
        EXPECT_EQ(ok.text, QString::fromUtf8(c.message));
    }
    EXPECT_TRUE(Bodies("/user/data/Register").empty());
    EXPECT_EQ(page_->RegisterButton()->text(), QStringLiteral("注册账号"));
}

TEST_F(RegistrationPageTest, EachRefusalHasItsCaptionThenItsFinalCaption) {
    struct Case {
        std::string reply;
        const char* caption;
        const char* final_caption;
    } cases[] = {
        {"1004", "    手机格式不正确", "发送短信验证"}, {"1005", "    密码格式不正确", "注册"},
        {"1002", "    验证码不正确", "注册"},          {"1006", "    验证码不正确", "注册"},
        {"1008", "    密码不能连号", "注册"},          {"1003", "    用户已存在", "注册"},
        {"1001", "    手机不匹配", "注册"},            {"1000 ", "    注册失败", "注册"},
        {"", "    网络超时", "注册"},
    };
    Fill("13700137000", "abc&123", "abc&123", "4321");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply);
        platform_->Script("/user/data/Register", c.reply);
        register_captions_.clear();
        page_->RegisterClicked();
        EXPECT_EQ(register_captions_,
                  (std::vector<QString>{QStringLiteral("    正在注册中"), QString::fromUtf8(c.caption),
                                        QString::fromUtf8(c.final_caption)}));
        EXPECT_EQ(progress_.load(), 3);
        EXPECT_TRUE(page_->RegisterButton()->isEnabled());
        EXPECT_TRUE(page_->Indicator()->isHidden());
    }
    // Values go out as typed, in the form's order, not percent-encoded.
    EXPECT_EQ(Bodies("/user/data/Register?act=reg").front(),
              "mobi=13700137000&password=abc&123&captcha=4321");
}

TEST_F(RegistrationPageTest, AnUntouchedMobileBoxAsksACodeForItsHintAndRefusalsSayWhy) {
    struct Case {
        std::string reply;
        const char* message;  // nullptr: no box
    } cases[] = {
        {"1003", "号码已注册"}, {"1002", "过于频繁"}, {"1007", "验证码错误"},
        {"1001", "手机格式不正确"}, {"", nullptr}, {"9999", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply);
        platform_->Script("/user/data/Register", c.reply);
        code_captions_.clear();
        QObject scope;
        ModalClicker ok;
        ok.Arm(&scope, QStringLiteral("messageBoxOk"));
        page_->SendCodeClicked();
        EXPECT_EQ(ok.clicked, c.message != nullptr);
        if (c.message != nullptr) {
            EXPECT_EQ(ok.title, QStringLiteral("发送失败"));
            EXPECT_EQ(ok.text, QString::fromUtf8(c.message));
        }
        EXPECT_EQ(code_captions_, (std::vector<QString>{QStringLiteral("正在发送中"),
                                                        QStringLiteral("发送验证码")}));
    }
    EXPECT_EQ(Bodies("/user/data/Register?act=yzm").front(), "mobi=手机号码");
}

TEST_F(RegistrationPageTest, ACodeStartsTheCountdownAndASuccessWaitsForItsEnd) {
    Fill("13700137001", "abc123", "abc123", QString());
    page_->MobileBox()->setText(QStringLiteral("13700137001"));
    page_->SendCodeClicked();
    EXPECT_FALSE(page_->CodeButton()->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return CountdownOver(); }, 20000));
    ASSERT_EQ(code_captions_.size(), 2u + 60u + 1u);
    EXPECT_EQ(code_captions_[1], QStringLiteral("发送成功"));
    EXPECT_EQ(code_captions_[2], QStringLiteral("59s"));
    EXPECT_EQ(code_captions_[61], QStringLiteral("0s"));
    EXPECT_EQ(code_captions_.back(), QStringLiteral("发送验证码"));

    // The platform's SMS carries the code the customer types.
    net::JsonDocument reply;
    reply.Parse(platform_->Control("sms?mobi=13700137001"));
    const std::string sms = reply.GetText("text");
    const std::size_t digits = sms.find_first_of("0123456789", sms.find("验证码是"));
    ASSERT_NE(digits, std::string::npos);
    page_->CodeBox()->setText(QString::fromStdString(sms.substr(digits, 6)));
    page_->RegisterClicked();
    EXPECT_EQ(register_captions_.back(), QStringLiteral("注册成功"));
    EXPECT_EQ(progress_.load(), 2);
    EXPECT_FALSE(page_->RegisterButton()->isEnabled());
    page_->RegisterClicked();  // disabled: nothing more is sent
    EXPECT_EQ(Bodies("/user/data/Register?act=reg").size(), 1u);
    // The new account signs in.
    EXPECT_EQ(account::SilentRelogin(platform_->Site(), "13700137001", "abc123", "0123456789ABCDEF"),
              "1000");

    // Only a later countdown gives the button back.
    page_->MobileBox()->setText(QStringLiteral("13700137002"));
    page_->SendCodeClicked();
    ASSERT_TRUE(QTest::qWaitFor([&] { return CountdownOver(); }, 20000));
    EXPECT_TRUE(page_->RegisterButton()->isEnabled());
}

TEST_F(RegistrationPageTest, TabFollowsTheFormAndEnterInAPasswordBoxRegisters) {
    page_->activateWindow();
    QApplication::setActiveWindow(page_.get());
    struct Step {
        ui::HintEdit* from;
        ui::HintEdit* to;
    } steps[] = {{page_->MobileBox(), page_->PasswordBox()},
                 {page_->CodeBox(), page_->PasswordBox()},
                 {page_->PasswordBox(), page_->ConfirmationBox()}};
    for (const Step& step : steps) {
        step.from->setFocus();
        QTest::keyClick(step.from, Qt::Key_Tab);
        EXPECT_TRUE(step.to->hasFocus()) << step.from->objectName().toStdString();
    }
    Fill("13700137000", "abc123", "abc123", "1234");
    platform_->Script("/user/data/Register", "1005");
    QTest::keyClick(page_->ConfirmationBox(), Qt::Key_Return);
    EXPECT_EQ(register_captions_.back(), QStringLiteral("注册"));
}

}  // namespace

#endif
