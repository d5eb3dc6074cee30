// The login window against a reference platform with scripted replies: what the user sees
// on the login button, what goes to the platform and in which order, and what the window
// keeps in the account settings file.
// Moc sees the whole file; the compiler only where the platform library is built.
#if defined(Q_MOC_RUN) || __has_include("Platform.h")

#include <gtest/gtest.h>
#include <unistd.h>

// Clicks go through the window as real ones do, so a click also moves the keyboard focus.
#define QTEST_QPA_MOUSE_HANDLING
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "LocalPlatform.h"
#include "UrlCatcher.h"
#include "account/gui/LoginPage.h"
#include "account/gui/LoginWindow.h"
#include "account/gui/PageSelector.h"
#include "net/Gbk.h"
#include "net/JsonDocument.h"
#include "net/WebRequest.h"
#include "os/ProfileFile.h"
#include "platform/PlatformApi.h"
#include "platform/SessionState.h"
#include "platform/SettingsFiles.h"
#include "platform/SiteConstants.h"
#include "ui/CaptionLabel.h"
#include "ui/HintEdit.h"
#include "ui/ResultIndicator.h"

using namespace vpsdesk;
using account::LoginPage;
using account::LoginWindow;
using ui::guitest::PumpUntil;

namespace {

using ui::guitest::UrlCatcher;

const char* const kToken = "login-window-token";
const std::string kMachineCode = "0123456789ABCDEF";  // as in kFormTail

const QString kWorking = QStringLiteral("    正在登录中");
const QString kLogin = QStringLiteral("登录");
const QString kSucceeded = QStringLiteral("    登录成功");

using ui::guitest::LoggedRequest;

class LoginWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform_ = std::make_unique<ui::guitest::LocalPlatform>(kToken);
        // A sign-in that an earlier test left in the cookie store ends here.
        platform::PlatformLogout(platform_->Site());
        Control("clear", {}, true);
        ASSERT_TRUE(folder_.isValid());
        Open();
    }

    void TearDown() override {
        window_.reset();
        platform_.reset();
    }

    // A fresh, shown and active window whose results show without the product's pauses.
    void Open() {
        window_.reset();
        captions_.clear();
        enabled_.clear();
        finished_.clear();
        window_ = std::make_unique<LoginWindow>(platform_->Site(), session_);
        window_->SetMachineCode(kMachineCode);
        account::LoginPacing pacing;
        pacing.draw_delays = [] { return account::ResultDelays{}; };
        pacing.result_hold_ms = 0;
        pacing.auto_login_pause_ms = 0;
        pacing.frame_interval_ms = 1;
        window_->SetPacing(pacing);
        window_->SetAccountSettingsFile(Settings());
        page_ = window_->SignInPage();
        QObject::connect(page_, &LoginPage::buttonCaptionChanged, [this](const QString& caption) {
            captions_.push_back(caption);
            enabled_.push_back(page_->LoginButton()->isEnabled());
        });
        QObject::connect(page_, &LoginPage::loginFinished,
                         [this](bool success) { finished_.push_back(success); });
        window_->show();
        QApplication::setActiveWindow(window_.get());
        PumpUntil([&] { return window_->isActiveWindow(); });
    }

    platform::AccountSettingsFile Settings() const {
        return platform::AccountSettingsFile(folder_.path().toStdString(), "vpsdesk");
    }
    std::string SettingsValue(const char* key) const {
        return os::ReadProfileString(Settings().Path(), "Config", key);
    }

    std::string Control(const std::string& path, const std::string& body = {}, bool post = false) {
        return platform_->Control(path, body, post);
    }
    void Script(const std::string& path, const std::string& body, int status = 200) {
        platform_->Script(path, body, status);
    }
    // The log with the bodies as UTF-8.
    std::vector<LoggedRequest> Requests() {
        std::vector<LoggedRequest> log = platform_->Requests();
        for (LoggedRequest& r : log) r.body = net::GbkToUtf8(r.body);
        return log;
    }
    std::vector<std::string> Paths() {
        std::vector<std::string> paths;
        for (const LoggedRequest& r : Requests()) paths.push_back(r.path);
        return paths;
    }
    void ClearLog() {
        Control("clear", {}, true);
        captions_.clear();
        enabled_.clear();
        finished_.clear();
    }

    void Focus(QWidget* widget) {
        widget->setFocus(Qt::OtherFocusReason);
        PumpUntil([&] { return widget->hasFocus(); });
    }
    void Type(ui::HintEdit* box, const QString& text) {
        Focus(box);
        // QTest spells out ASCII only; other characters arrive as typed text.
        for (const QChar c : text) {
            if (c.unicode() < 0x80)
                QTest::keyClick(box, c.toLatin1());
            else
                QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
    void ClickLogin() { QTest::mouseClick(page_->LoginButton(), Qt::LeftButton); }
    void WaitForLogin() {
        PumpUntil([&] { return !finished_.empty(); });
    }
    void ChooseEntry(int entry) {
        auto* selector = window_->findChild<account::PageSelector*>(QStringLiteral("pageSelector"));
        ASSERT_NE(selector, nullptr);
        QTest::mouseClick(selector->viewport(), Qt::LeftButton, {},
                          selector->visualItemRect(selector->item(entry)).center());
    }
    // Remembers "demo" / "secret" and whether to log in automatically.
    void Remember(bool remember, bool auto_login) {
        ASSERT_TRUE(Settings().SaveRememberedLogin(remember, "demo", "secret"));
        ASSERT_TRUE(Settings().SaveAutoLogin(auto_login));
    }

    std::unique_ptr<ui::guitest::LocalPlatform> platform_;
    platform::SessionState session_;  // outlives the window and its logins
    QTemporaryDir folder_;
    std::unique_ptr<LoginWindow> window_;
    LoginPage* page_ = nullptr;
    QStringList captions_;
    std::vector<bool> enabled_;  // the login button's state as each caption showed
    std::vector<bool> finished_;
};

// What the login button says for each reply: working, the result (if any), idle again.
struct ReplyRow {
    const char* reply;
    int status;
    const char* manual_caption;  // nullptr: an unexpected reply, no caption
    const char* auto_caption;
};

const ReplyRow kReplyRows[] = {
    {"1001", 200, "           用户或密码不正确", "           自动登录失效"},
    {"1003", 200, "    登录次数过多", "    登录次数过多"},
    {"1002", 200, "    验证码错误", "    验证码错误"},
    {"", 200, "    网络链接失败", "    网络链接失败"},
    {"500", 500, "    平台维护中", "    平台维护中"},
    // Codes are compared exactly: these are none of the known ones.
    {"1000 ", 200, nullptr, nullptr},
    {"1000\r\n", 200, nullptr, nullptr},
    {"1234", 200, nullptr, nullptr},
};

QStringList CaptionsFor(const char* result) {
    if (result == nullptr) return {kWorking, kLogin};
    return {kWorking, QString::fromUtf8(result), kLogin};
}

// A failed login's button: disabled while the result shows, ready with the idle caption.
std::vector<bool> ButtonEnabledFor(const char* result) {
    if (result == nullptr) return {false, true};
    return {false, false, true};
}

const std::string kFormTail = "&khdkey=0123456789ABCDEF&zd=1&ver=Ver 4.92";

}  // namespace

TEST_F(LoginWindowTest, ManualLoginShowsTheCaptionOfEveryReplyAfterALogout) {
    for (const ReplyRow& row : kReplyRows) {
        SCOPED_TRACE(row.reply);
        ClearLog();
        Script("/user/loginpost", row.reply, row.status);
        ClickLogin();
        WaitForLogin();
        EXPECT_EQ(captions_, CaptionsFor(row.manual_caption));
        EXPECT_EQ(enabled_, ButtonEnabledFor(row.manual_caption));
        EXPECT_EQ(Paths(), (std::vector<std::string>{"/user/logout.asp", "/user/loginpost"}));
        // A known failure plays the cross to its end; then the indicator goes away.
        if (row.manual_caption != nullptr) {
            EXPECT_EQ(page_->Indicator()->Frame(), 49);
        }
        EXPECT_FALSE(page_->Indicator()->isVisible());
        EXPECT_TRUE(page_->LoginButton()->isEnabled());
        EXPECT_TRUE(window_->isVisible());
        EXPECT_EQ(session_.sign_in_completed.load(), 0);
    }
}

// Told to quit (a SIGTERM, a session ending) while a login's reply is on its way: the exit
// stops the animations and quits, then the failure still shows and plays, but no timer runs
// any more. The login must end all the same instead of waiting for a frame that never
// comes. In a process of its own: a quit application cannot run event loops again.
TEST_F(LoginWindowTest, QuittingWhileTheReplyIsOnItsWayStillEndsTheLogin) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            ::alarm(30);  // a wait that never ends fails the test rather than hanging it
            Script("/user/loginpost", "1001");
            QTimer::singleShot(0, [this] {
                page_->StopAnimations();
                QCoreApplication::exit(0);
            });
            ClickLogin();  // the whole login runs inside the click
            std::fprintf(stderr, "finished %zu\n", finished_.size());
            std::fflush(stderr);
            // Not exit(): the window and the platform stand, and the leak check at exit
            // would count them.
            std::_Exit(finished_.size() == 1 ? 0 : 3);
        },
        ::testing::ExitedWithCode(0), "finished 1");
}

TEST_F(LoginWindowTest, ManualSuccessStoresTheTypedCredentialsHidesTheWindowAndSignsIn) {
    Type(page_->AccountEdit(), QStringLiteral("demo"));
    Type(page_->PasswordEdit(), QStringLiteral("p&w 密"));
    Type(page_->CaptchaEdit(), QStringLiteral("4711"));
    Script("/user/logout.asp", "", 500);  // a failed logout does not stop the login
    Script("/user/loginpost", "1000");
    ClickLogin();
    WaitForLogin();

    EXPECT_EQ(captions_, (QStringList{kWorking, kSucceeded, kLogin}));
    EXPECT_EQ(enabled_, (std::vector<bool>{false, false, false}));
    EXPECT_EQ(page_->Indicator()->Frame(), 39);
    EXPECT_FALSE(window_->isVisible());
    EXPECT_EQ(session_.sign_in_completed.load(), 1);
    EXPECT_EQ(session_.SessionAccount(), "demo");
    EXPECT_EQ(session_.SessionPassword(), "p&w 密");
    const std::vector<LoggedRequest> log = Requests();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].path, "/user/logout.asp");
    EXPECT_EQ(log[1].body, "username=demo&password=p&w 密&captcha=4711" + kFormTail);
    // Disabled while signed in; the log-out gives it back.
    EXPECT_FALSE(page_->LoginButton()->isEnabled());
    window_->EnableLoginButton();
    EXPECT_TRUE(page_->LoginButton()->isEnabled());
}

TEST_F(LoginWindowTest, UntouchedBoxesSendTheirHintTexts) {
    Script("/user/loginpost", "1001");
    ClickLogin();  // the account box had the focus and gets its hint back as it loses it
    WaitForLogin();
    const std::vector<LoggedRequest> log = Requests();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1].body, "username=用户名/账号&password=密码&captcha=图片验证码" + kFormTail);
}

TEST_F(LoginWindowTest, KeyboardTabAlternatesAndOnlyEnterReleasedInThePasswordBoxLogsIn) {
    Focus(page_->AccountEdit());
    QTest::keyClick(page_->AccountEdit(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), page_->PasswordEdit());
    QTest::keyClick(page_->PasswordEdit(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), page_->AccountEdit());

    Script("/user/loginpost", "1001");
    Type(page_->AccountEdit(), QStringLiteral("demo"));
    QTest::keyClick(page_->AccountEdit(), Qt::Key_Return);
    QTest::keyClick(page_->AccountEdit(), Qt::Key_Enter);
    Type(page_->PasswordEdit(), QStringLiteral("secret"));
    QTest::keyPress(page_->PasswordEdit(), Qt::Key_Return);
    EXPECT_TRUE(captions_.isEmpty());
    EXPECT_TRUE(Paths().empty());

    QTest::keyRelease(page_->PasswordEdit(), Qt::Key_Return);
    WaitForLogin();
    EXPECT_EQ(Paths(), (std::vector<std::string>{"/user/logout.asp", "/user/loginpost"}));
}

TEST_F(LoginWindowTest, AnEnterWhileALoginRunsStartsNoSecondLogin) {
    Script("/user/loginpost", "1001");
    Script("/user/loginpost", "1001");
    Focus(page_->PasswordEdit());
    QObject::connect(page_, &LoginPage::buttonCaptionChanged, page_, [this](const QString& caption) {
        if (caption == kWorking) QTest::keyRelease(page_->PasswordEdit(), Qt::Key_Return);
    });
    QTest::keyRelease(page_->PasswordEdit(), Qt::Key_Return);
    WaitForLogin();
    EXPECT_EQ(Paths(), (std::vector<std::string>{"/user/logout.asp", "/user/loginpost"}));
    EXPECT_EQ(finished_.size(), 1u);
}

TEST_F(LoginWindowTest, AutoLoginShowsTheCaptionOfEveryReplyAfterALogout) {
    for (const ReplyRow& row : kReplyRows) {
        SCOPED_TRACE(row.reply);
        Remember(true, true);
        Open();  // the automatic login runs once per window
        window_->FillRememberedLogin(Settings());
        ClearLog();
        Script("/user/khdloginpd", row.reply, row.status);
        window_->StartAutoLogin();
        WaitForLogin();
        EXPECT_EQ(captions_, CaptionsFor(row.auto_caption));
        EXPECT_EQ(enabled_, ButtonEnabledFor(row.auto_caption));
        const std::vector<LoggedRequest> log = Requests();
        ASSERT_EQ(log.size(), 2u);
        EXPECT_EQ(log[0].path, "/user/logout.asp");
        EXPECT_EQ(log[1].path, "/user/khdloginpd");
        EXPECT_EQ(log[1].body, "username=demo&password=secret" + kFormTail);
        EXPECT_TRUE(page_->LoginButton()->isEnabled());
        EXPECT_TRUE(window_->isVisible());
    }
}

TEST_F(LoginWindowTest, AutoLoginSuccessSignsInWithTheRememberedLoginOncePerWindow) {
    Remember(true, true);
    window_->FillRememberedLogin(Settings());
    Script("/user/khdloginpd", "1000");
    window_->StartAutoLogin();
    WaitForLogin();
    EXPECT_EQ(captions_, (QStringList{kWorking, kSucceeded, kLogin}));
    EXPECT_FALSE(window_->isVisible());
    EXPECT_EQ(session_.sign_in_completed.load(), 1);
    EXPECT_EQ(session_.SessionAccount(), "demo");
    EXPECT_EQ(session_.SessionPassword(), "secret");

    // After a log-out the user signs in by hand.
    ClearLog();
    window_->StartAutoLogin();
    EXPECT_FALSE(page_->IsLoginRunning());
    EXPECT_TRUE(Paths().empty());
}

TEST_F(LoginWindowTest, RememberedLoginFillsThePageAndGatesTheAutoLogin) {
    // Not remembered: "zdlogin" does not count and the boxes keep their hints.
    Remember(false, true);
    Focus(page_->LoginButton());  // the focused account box would not show its hint
    window_->FillRememberedLogin(Settings());
    EXPECT_FALSE(page_->RememberBox()->isChecked());
    EXPECT_FALSE(page_->AutoLoginBox()->isChecked());
    EXPECT_EQ(page_->AccountEdit()->text(), QStringLiteral("用户名/账号"));
    EXPECT_EQ(page_->PasswordEdit()->text(), QStringLiteral("密码"));
    window_->StartAutoLogin();
    EXPECT_FALSE(page_->IsLoginRunning());
    EXPECT_TRUE(Paths().empty());

    // Remembered without auto-login: filled and masked, but no login.
    Remember(true, false);
    Open();
    window_->FillRememberedLogin(Settings());
    EXPECT_TRUE(page_->RememberBox()->isChecked());
    EXPECT_FALSE(page_->AutoLoginBox()->isChecked());
    EXPECT_EQ(page_->AccountEdit()->text(), QStringLiteral("demo"));
    EXPECT_EQ(page_->PasswordEdit()->text(), QStringLiteral("secret"));
    EXPECT_EQ(page_->PasswordEdit()->echoMode(), QLineEdit::Password);
    window_->StartAutoLogin();
    EXPECT_FALSE(page_->IsLoginRunning());
    EXPECT_TRUE(Paths().empty());

    Remember(true, true);
    Open();
    window_->FillRememberedLogin(Settings());
    EXPECT_TRUE(page_->AutoLoginBox()->isChecked());
}

TEST_F(LoginWindowTest, TheBoxesAndEveryManualLoginSaveWhatTheBoxesShow) {
    // Ticked while the boxes show their hints: the hints are stored.
    QTest::mouseClick(page_->RememberBox(), Qt::LeftButton);
    EXPECT_EQ(SettingsValue("Rememberaccount"), "1");
    EXPECT_EQ(SettingsValue("zh"), "用户名/账号");
    EXPECT_EQ(SettingsValue("mm"), "密码");
    // Unticked: both values are emptied at once.
    QTest::mouseClick(page_->RememberBox(), Qt::LeftButton);
    EXPECT_EQ(SettingsValue("Rememberaccount"), "0");
    EXPECT_EQ(SettingsValue("zh"), "");
    EXPECT_EQ(SettingsValue("mm"), "");

    QTest::mouseClick(page_->AutoLoginBox(), Qt::LeftButton);
    EXPECT_EQ(SettingsValue("zdlogin"), "1");
    QTest::mouseClick(page_->AutoLoginBox(), Qt::LeftButton);
    EXPECT_EQ(SettingsValue("zdlogin"), "0");

    // A login stores the typed values before its request, even when it then fails.
    QTest::mouseClick(page_->RememberBox(), Qt::LeftButton);
    Type(page_->AccountEdit(), QStringLiteral("alice"));
    Type(page_->PasswordEdit(), QStringLiteral("wrong"));
    Script("/user/loginpost", "1001");
    ClickLogin();
    WaitForLogin();
    EXPECT_EQ(SettingsValue("zh"), "alice");
    EXPECT_EQ(SettingsValue("mm"), "wrong");
}

TEST_F(LoginWindowTest, AnAccountTheFileCannotHoldIsNotRememberedAndTheUserIsTold) {
    // An older file with bytes that are no GBK: the account box gets U+FFFD, which the
    // file cannot take back.
    const std::string held =
        "[Config]\r\nRememberaccount=1\r\nzh=\x81\x20x\r\nmm=secret\r\nzdlogin=0\r\n";
    auto file_bytes = [&] {
        std::string bytes;
        QFile file(QString::fromStdString(Settings().Path().string()));
        if (file.open(QIODevice::ReadOnly)) bytes = file.readAll().toStdString();
        return bytes;
    };
    {
        QFile file(QString::fromStdString(Settings().Path().string()));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(held.data(), static_cast<qint64>(held.size()));
    }
    window_->FillRememberedLogin(Settings());
    ASSERT_TRUE(page_->RememberBox()->isChecked());
    ASSERT_TRUE(page_->AccountEdit()->text().contains(QChar(0xFFFD)));

    Script("/user/loginpost", "1001");
    struct Step {
        const char* name;
        std::function<void()> act;
    };
    const Step steps[] = {
        {"a login with the box ticked", [&] { ClickLogin(); }},
        {"ticking the box", [&] { QTest::mouseClick(page_->RememberBox(), Qt::LeftButton); }},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        QObject scope;
        ui::guitest::ModalClicker ok;
        ok.Arm(&scope, QStringLiteral("messageBoxOk"));
        step.act();
        EXPECT_TRUE(ok.clicked);
        EXPECT_EQ(ok.text, QString::fromUtf8(account::kCannotRememberMessage));
        EXPECT_FALSE(page_->RememberBox()->isChecked());
        EXPECT_EQ(file_bytes(), held);
    }
    // The login itself went ahead.
    WaitForLogin();
    EXPECT_EQ(Paths(), (std::vector<std::string>{"/user/logout.asp", "/user/loginpost"}));
}

TEST_F(LoginWindowTest, ASaveThatFailsIsToldOnceUntilASaveWorksAgain) {
    // A folder in the file's place: nothing can be written there, not even by root.
    const std::filesystem::path file = Settings().Path();
    const auto block = [&] {
        std::filesystem::remove_all(file);
        std::filesystem::create_directory(file);
    };
    const auto unblock = [&] { std::filesystem::remove_all(file); };
    struct Step {
        const char* name;
        std::function<void()> before;
        QCheckBox* box;
        bool told;
    };
    const Step steps[] = {
        {"ticking remember, the file blocked", block, page_->RememberBox(), true},
        {"unticking it, still blocked", [] {}, page_->RememberBox(), false},
        {"ticking auto-login, still blocked", [] {}, page_->AutoLoginBox(), false},
        {"ticking remember, unblocked", unblock, page_->RememberBox(), false},
        {"unticking auto-login, blocked again", block, page_->AutoLoginBox(), true},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.before();
        QObject scope;
        ui::guitest::ModalClicker ok;
        ok.Arm(&scope, QStringLiteral("messageBoxOk"));
        QTest::mouseClick(step.box, Qt::LeftButton);
        EXPECT_EQ(ok.clicked, step.told);
        if (step.told) {
            EXPECT_EQ(ok.text.toStdString(),
                      std::string(account::kLoginNotSavedMessage) + file.string());
        }
    }
    EXPECT_TRUE(std::filesystem::is_directory(file));
}

TEST_F(LoginWindowTest, CaptchaPictureLoadsANewPictureWhenClicked) {
    EXPECT_TRUE(page_->CaptchaPicture()->pixmap().isNull());
    QTest::mouseClick(page_->CaptchaPicture(), Qt::LeftButton);
    const std::vector<std::string> paths = Paths();
    ASSERT_EQ(paths.size(), 1u);
    EXPECT_EQ(paths[0].rfind("/user/captcha?id=0.", 0), 0u) << paths[0];
    EXPECT_FALSE(page_->CaptchaPicture()->pixmap().isNull());
}

TEST_F(LoginWindowTest, PageSelectorSwitchesPagesAndOpensTheRecoveryWebPage) {
    UrlCatcher catcher;

    ChooseEntry(account::PageSelector::kLogin);  // already shown: no new captcha
    EXPECT_TRUE(Paths().empty());

    ChooseEntry(account::PageSelector::kRecover);
    ASSERT_EQ(catcher.urls.size(), 1);
    EXPECT_EQ(catcher.urls[0].toString().toStdString(),
              platform_->Url("/user/findpwd/index.html"));
    EXPECT_EQ(window_->CurrentPage(), LoginWindow::kLoginPage);

    ChooseEntry(account::PageSelector::kRegister);
    EXPECT_EQ(window_->CurrentPage(), LoginWindow::kRegistrationPage);

    // Back to the login page: it slides in again with a new captcha.
    ChooseEntry(account::PageSelector::kLogin);
    EXPECT_EQ(window_->CurrentPage(), LoginWindow::kLoginPage);
    const std::vector<std::string> paths = Paths();
    ASSERT_EQ(paths.size(), 1u);
    EXPECT_EQ(paths[0].rfind("/user/captcha?id=", 0), 0u);
    PumpUntil([&] { return page_->Panel()->x() == LoginPage::kPanelX; });

    // The close label asks the process to end; the window does not close by itself.
    QSignalSpy close_requested(window_.get(), &LoginWindow::closeRequested);
    QTest::mouseClick(window_->CloseLabel(), Qt::LeftButton);
    EXPECT_EQ(close_requested.count(), 1);
    EXPECT_TRUE(window_->isVisible());
}

// The start-up steps as the user sees them; the picture is kept for a person to look at.
TEST_F(LoginWindowTest, StartUpRendersTheChineseTexts) {
    window_->ShowLogo(net::WebRequest(platform_->Url("/img/logo.png")).body);
    window_->StartIntroAnimations();
    window_->FetchCaptcha();
    window_->FocusAccountBox();
    auto* version = window_->findChild<QLabel*>(QStringLiteral("versionLabel"));
    ASSERT_NE(version, nullptr);
    PumpUntil([&] { return page_->Panel()->x() == LoginPage::kPanelX; });
    PumpUntil([&] {
        const auto* fade = qobject_cast<QGraphicsOpacityEffect*>(version->graphicsEffect());
        return version->isVisible() && (fade == nullptr || fade->opacity() >= 1.0);
    });
    EXPECT_TRUE(QFontMetrics(page_->RememberBox()->font()).inFont(QChar(u'记')));
    EXPECT_EQ(QApplication::focusWidget(), page_->AccountEdit());
    EXPECT_FALSE(page_->CaptchaPicture()->pixmap().isNull());
    EXPECT_TRUE(window_->grab().save(QDir::tempPath() + QStringLiteral("/vpsdesk-login-window.png")));
}


#endif  // __has_include("Platform.h")
