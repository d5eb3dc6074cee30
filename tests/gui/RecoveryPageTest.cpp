// The login window's own recovery page against a reference platform: the request as the
// platform receives it, every caption, and the way to the page and back.
// Moc sees the whole file; the compiler only where the platform library is built.
#if defined(Q_MOC_RUN) || __has_include("Platform.h")

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "LocalPlatform.h"
#include "account/LoginApi.h"
#include "account/gui/LoginPage.h"
#include "account/gui/LoginWindow.h"
#include "account/gui/RecoveryPage.h"
#include "net/Gbk.h"
#include "net/JsonDocument.h"
#include "platform/SessionState.h"
#include "ui/CaptionLabel.h"
#include "ui/HintEdit.h"
#include "ui/ResultIndicator.h"

using namespace vpsdesk;
using account::RecoveryPage;

namespace {

class RecoveryPageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform_ = std::make_unique<ui::guitest::LocalPlatform>("recovery-token");
        platform_->ClearLog();
        page_ = std::make_unique<RecoveryPage>(platform_->Site(), progress_);
        account::LoginPacing pacing;
        pacing.draw_delays = [] { return account::ResultDelays{}; };
        pacing.result_hold_ms = 0;
        pacing.frame_interval_ms = 1;
        page_->SetPacing(pacing);
        QObject::connect(page_.get(), &RecoveryPage::buttonCaptionChanged,
                         [this](const QString& c) { captions_.push_back(c); });
        page_->show();
    }
    void TearDown() override {
        page_.reset();
        platform_.reset();
    }

    // Clicks and waits until the page is ready again.
    void Recover() {
        captions_.clear();
        page_->RecoverClicked();
        EXPECT_FALSE(page_->RecoverButton()->isEnabled());
        ASSERT_TRUE(QTest::qWaitFor([&] { return !page_->Running(); }, 20000));
    }
    std::vector<ui::guitest::LoggedRequest> Recoveries() {
        std::vector<ui::guitest::LoggedRequest> found;
        for (auto& request : platform_->Requests())
            if (request.path == "/page/GetPasswd/GetPasswd") found.push_back(std::move(request));
        return found;
    }

    std::unique_ptr<ui::guitest::LocalPlatform> platform_;
    std::atomic<int> progress_{0};
    std::unique_ptr<RecoveryPage> page_;
    std::vector<QString> captions_;
};

TEST_F(RecoveryPageTest, EachReplyHasItsCaptionAndTheButtonComesBack) {
    struct Case {
        std::string reply;
        const char* caption;
        int progress;
    } cases[] = {
        {"1000", "    找回成功", 2},
        {"1015", "    信息不匹配", 3},
        {"1016", "    失败", 3},
        {"", "    失败", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply);
        platform_->Script("/page/GetPasswd/GetPasswd", c.reply);
        Recover();
        EXPECT_EQ(captions_,
                  (std::vector<QString>{QStringLiteral("    正在发送"),
                                        QString::fromUtf8(c.caption), QStringLiteral("找回密码")}));
        EXPECT_EQ(progress_.load(), c.progress);
        EXPECT_TRUE(page_->RecoverButton()->isEnabled());
        EXPECT_TRUE(page_->Indicator()->isHidden());
    }
}

TEST_F(RecoveryPageTest, TheFormGoesOutWithItsHeaderBlockInOrderAndTheGbkLength) {
    page_->AccountBox()->setText(QStringLiteral("张三"));
    page_->MobileBox()->ResetToHint();  // an untouched box sends its hint
    platform_->Script("/page/GetPasswd/GetPasswd", "1015");
    Recover();
    const auto sent = Recoveries();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].method, "POST");
    EXPECT_EQ(net::GbkToUtf8(sent[0].body), "username=张三&mobi=手机号码");
    // "张三" and "手机号码" take two bytes a character on the wire.
    const std::string length = "Content-Length: " + std::to_string(sent[0].body.size());
    EXPECT_EQ(sent[0].body.size(), std::string("username=&mobi=").size() + 2 * 2 + 4 * 2);
    const std::string host = platform_->Host();
    const std::vector<std::string> expected = {
        "Content-Type: application/x-www-form-urlencoded; charset=UTF-8",
        "Accept: */*",
        "X-Requested-With: XMLHttpRequest",
        "Referer: https://" + host + "/page/Getpasswd/",
        "Accept-Language: zh-Hans-CN,zh-Hans;q=0.5",
        "User-Agent: Mozilla/5.0 (Windows NT 10.0; WOW64; Trident/7.0; rv:11.0) like Gecko",
        "Host: " + host,
        length,
        "Connection: Keep-Alive",
        "Cache-Control: no-cache",
    };
    // The engine may add lines of its own; the page's come in the page's order, except
    // that the transfer library always puts the Host line first.
    std::vector<std::string> ours;
    for (const std::string& line : sent[0].headers)
        for (const std::string& want : expected)
            if (line == want && want.rfind("Host: ", 0) != 0) ours.push_back(line);
    std::vector<std::string> wanted = expected;
    std::erase(wanted, "Host: " + host);
    EXPECT_EQ(ours, wanted);
    EXPECT_EQ(std::count(sent[0].headers.begin(), sent[0].headers.end(), "Host: " + host), 1);
}

TEST_F(RecoveryPageTest, ARecoveredPasswordSignsIn) {
    page_->AccountBox()->setText(QStringLiteral("demo"));
    page_->MobileBox()->setText(QStringLiteral("13800138000"));
    Recover();
    ASSERT_EQ(captions_.at(1), QStringLiteral("    找回成功"));
    net::JsonDocument sms;
    sms.Parse(platform_->Control("sms?mobi=13800138000"));
    const std::string text = sms.GetText("text");
    const std::size_t at = text.find("新密码是");
    ASSERT_NE(at, std::string::npos);
    const std::size_t start = at + std::string("新密码是").size();
    const std::string password = text.substr(start, text.find("，", start) - start);
    EXPECT_EQ(account::SilentRelogin(platform_->Site(), "demo", password, "0123456789ABCDEF"),
              "1000");
    EXPECT_NE(account::SilentRelogin(platform_->Site(), "demo", "demo2026", "0123456789ABCDEF"),
              "1000");
}

TEST(RecoveryPageReach, TheLoginPageLinksToItAndItLinksBack) {
    ui::guitest::LocalPlatform platform("recovery-reach-token");
    platform::SessionState session;
    account::LoginWindow window(platform.Site(), session);
    window.show();
    QTest::mouseClick(window.SignInPage()->ForgotLink(), Qt::LeftButton);
    EXPECT_EQ(window.CurrentPage(), account::LoginWindow::kRecoveryPage);
    QTest::mouseClick(window.RecoverPage()->BackLink(), Qt::LeftButton);
    EXPECT_EQ(window.CurrentPage(), account::LoginWindow::kLoginPage);
}

}  // namespace

#endif
