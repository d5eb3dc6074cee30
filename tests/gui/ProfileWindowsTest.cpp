// The profile load, the personal-information and real-name windows and the real-name gate
// against a reference platform: what reaches the session, what the windows show, and the
// bytes of the verification request.
#if __has_include("Platform.h")

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "GuiTestSupport.h"
#include "LocalPlatform.h"
#include "account/LoginApi.h"
#include "account/ProfileApi.h"
#include "account/gui/PersonalWindow.h"
#include "account/gui/RealNameGateUi.h"
#include "account/gui/RealNameWindow.h"
#include "net/Gbk.h"
#include "net/JsonDocument.h"
#include "net/WebRequest.h"
#include "platform/PlatformApi.h"
#include "platform/SessionState.h"
#include "platform/SiteConstants.h"
#include "ui/CaptionLabel.h"

using namespace vpsdesk;
using ui::guitest::ModalClicker;
using ui::guitest::PumpUntil;

namespace {

const char* const kToken = "profile-windows-token";
const char* const kUnverifiedAccount = "13900139000";  // the demo platform's second user
const char* const kIdNumber = "11010519491231002X";
const QString kUnverifiedGreeting =
    QStringLiteral("您还未实名认证，根据相关法律法规，使用前请先实名认证！");

using ui::guitest::LoggedRequest;

// Calls `act` with the window named `object_name` once it is the active modal window.
void WhenModal(QObject* owner, const QString& object_name, std::function<void(QWidget*)> act) {
    auto* timer = new QTimer(owner);
    QObject::connect(timer, &QTimer::timeout, owner, [timer, object_name, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal->objectName() != object_name) return;
        timer->stop();
        act(modal);
    });
    timer->start(2);
}

QString LabelText(const QWidget* window, const char* name) {
    const auto* label = window->findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<missing>");
}

class ProfileWindowsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform_ = std::make_unique<ui::guitest::LocalPlatform>(kToken);
        platform::PlatformLogout(Site());
        Control("clear", {}, true);
    }

    void TearDown() override { platform_.reset(); }

    platform::SiteConstants Site() const { return platform_->Site(); }
    // What the windows work with: this platform, this test's session.
    // The recharge link records where it opened and, like a customer who paid, can
    // change the balance meanwhile.
    account::AccountContext Context() {
        return {Site(), session_, "云桌面管家", [this](QWidget* owner) {
                    recharge_owners_.push_back(owner);
                    if (on_recharge_) on_recharge_();
                }};
    }
    std::vector<QWidget*> recharge_owners_;
    std::function<void()> on_recharge_;

    void SignIn(const std::string& account) {
        ASSERT_EQ(account::SilentRelogin(Site(), account, "demo2026", "0123456789ABCDEF"), "1000");
        session_.SetUserName(account);
    }

    std::string Control(const std::string& path, const std::string& body = {}, bool post = false) {
        return platform_->Control(path, body, post);
    }
    // The next reply for `path` is the GBK form of `utf8_body`.
    void Script(const std::string& path, const std::string& utf8_body) {
        platform_->Script(path, net::Utf8ToGbk(utf8_body));
    }
    std::vector<LoggedRequest> Requests() { return platform_->Requests(); }
    std::string RealNameBody() {
        for (const LoggedRequest& r : Requests())
            if (r.path == "/user/sm2") return r.body;
        return "<none>";
    }

    // Types a name and ID, presses the button and answers the result box.
    QString Submit(account::RealNameWindow& window, const QString& name) {
        window.NameEdit()->setText(name);
        window.IdEdit()->setText(QString::fromLatin1(kIdNumber));
        ModalClicker ok;
        ok.Arm(&window, QStringLiteral("messageBoxOk"));
        QTest::mouseClick(window.SubmitButton(), Qt::LeftButton);
        PumpUntil([&] {
            return ok.clicked && (!window.isVisible() || window.SubmitButton()->isEnabled());
        });
        return ok.text;
    }

    std::unique_ptr<ui::guitest::LocalPlatform> platform_;
    platform::SessionState session_;
};

TEST_F(ProfileWindowsTest, VerificationResultOneAsNumberOrTextIsVerified) {
    struct Row {
        const char* member;  // the VerificationResult member, or nothing
        const char* expected;
    };
    const Row rows[] = {
        {R"("VerificationResult":1,)", "张三"},
        {R"("VerificationResult":"1",)", "张三"},
        {R"("VerificationResult":"2",)", "未实名"},
        {R"("VerificationResult":" 1",)", "未实名"},
        {"", "未实名"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.member);
        Script("/user/userinfo", std::string(R"({"status":200,"data":{)") + row.member +
                                     R"("truename":"张三","usermoney":"8.00"}})");
        EXPECT_EQ(account::LoadProfile(Site(), session_), row.expected);
    }
    // The caller stores it, not the load.
    EXPECT_EQ(session_.RealNameStatus(), "");
}

TEST_F(ProfileWindowsTest, MissingContactsKeepTheirValueAndAMissingBalanceLeavesTheUnit) {
    Script("/user/userinfo",
           R"({"data":{"usermoney":"12.50","mobi":"13800138000","QQ":"10001","email":"a@b.c"}})");
    account::LoadProfile(Site(), session_);
    Script("/user/userinfo", R"({"data":{"mobi":"13700137000","email":""}})");
    account::LoadProfile(Site(), session_);
    const platform::ProfileTexts profile = session_.Profile();
    EXPECT_EQ(profile.mobile, "13700137000");
    EXPECT_EQ(profile.qq, "10001");
    EXPECT_EQ(profile.email, "a@b.c");
    EXPECT_EQ(profile.balance, "元");
}

TEST_F(ProfileWindowsTest, AReplyThatIsNoDocumentChangesNothingStored) {
    Script("/user/userinfo",
           R"({"data":{"usermoney":"12.50","mobi":"13800138000","QQ":"10001","email":"a@b.c"}})");
    ASSERT_TRUE(account::RefreshProfile(Site(), session_));
    session_.SetRealNameStatus("张三");
    const platform::ProfileTexts before = session_.Profile();
    // An error page, an empty reply, and no platform at all.
    Script("/user/userinfo", "<html><body>502 Bad Gateway</body></html>");
    EXPECT_FALSE(account::LoadProfile(Site(), session_));
    Script("/user/userinfo", "");
    EXPECT_FALSE(account::RefreshProfile(Site(), session_));
    account::AccountContext nowhere = Context();
    nowhere.site = {"127.0.0.1:1", "Ver 4.92"};  // nothing listens there
    EXPECT_FALSE(account::RefreshProfile(nowhere.site, session_));
    const platform::ProfileTexts after = session_.Profile();
    EXPECT_EQ(after.mobile, "13800138000");
    EXPECT_EQ(after.qq, "10001");
    EXPECT_EQ(after.email, "a@b.c");
    EXPECT_EQ(after.balance, "12.50元");
    EXPECT_EQ(after.real_name_status, "张三");

    account::PersonalWindow personal(nowhere);
    EXPECT_EQ(personal.BalanceLabel()->text(), QStringLiteral("当前余额:12.50元"));
    EXPECT_EQ(LabelText(&personal, "qqValue"), QStringLiteral("10001"));

    // A verification that cannot reach the platform counts as a mismatch.
    account::RealNameWindow window(nowhere);
    window.show();
    EXPECT_EQ(Submit(window, QStringLiteral("张三")), QString::fromUtf8(account::kMismatchMessage));
    EXPECT_TRUE(window.isVisible());
}

TEST_F(ProfileWindowsTest, AProfileArrivingAfterSignOutIsNotStored) {
    Control(
        "script?path=/user/userinfo&delay_ms=400",
        net::Utf8ToGbk(
            R"({"data":{"usermoney":"12.50","mobi":"13800138000","VerificationResult":"1","truename":"张三"}})"),
        true);
    std::thread late([this] { (void)account::RefreshProfile(Site(), session_); });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    session_.ClearCustomer();  // the customer signs out while the reply is on its way
    late.join();
    const platform::ProfileTexts profile = session_.Profile();
    EXPECT_EQ(profile.mobile, "");
    EXPECT_EQ(profile.balance, "");
    EXPECT_EQ(profile.real_name_status, "");
}

TEST_F(ProfileWindowsTest, PersonalWindowGreetsAVerifiedUserAndShowsTheProfile) {
    SignIn("demo");
    session_.SetRealNameStatus("张三");
    account::PersonalWindow window(Context());
    EXPECT_EQ(window.GreetingLabel()->text(),
              QStringLiteral("尊敬的张三,欢迎您使用云桌面管家产品！"));
    EXPECT_TRUE(window.RealNameLink()->isHidden());
    EXPECT_EQ(window.BalanceLabel()->text(), QStringLiteral("当前余额:500.00元"));
    EXPECT_EQ(LabelText(&window, "memberIdValue"), QStringLiteral("demo"));
    EXPECT_EQ(LabelText(&window, "nameValue"), QStringLiteral("张三"));
    EXPECT_EQ(LabelText(&window, "mobileValue"), QStringLiteral("13800138000"));
    EXPECT_EQ(LabelText(&window, "qqValue"), QStringLiteral("10001"));
    EXPECT_EQ(LabelText(&window, "emailValue"), QStringLiteral("demo@example.com"));
}

TEST_F(ProfileWindowsTest, PersonalWindowShowsTheStoredStatusNotTheLoadedOne) {
    // The platform says verified, but until the keep-alive stores it the window does not.
    SignIn("demo");
    session_.SetRealNameStatus("未实名");
    account::PersonalWindow window(Context());
    EXPECT_EQ(window.GreetingLabel()->text(), kUnverifiedGreeting);
    EXPECT_FALSE(window.RealNameLink()->isHidden());
    EXPECT_EQ(LabelText(&window, "nameValue"), QStringLiteral("未实名"));
    EXPECT_EQ(session_.RealNameStatus(), "未实名");
}

TEST_F(ProfileWindowsTest, TheLinkHidesThePersonalWindowOpensVerificationThenCloses) {
    SignIn(kUnverifiedAccount);
    session_.SetRealNameStatus("未实名");
    account::PersonalWindow personal(Context());
    bool personal_was_hidden = false;
    QString account_shown, mobile_shown;
    WhenModal(&personal, QStringLiteral("personalWindow"),
              [&](QWidget*) { QTest::mouseClick(personal.RealNameLink(), Qt::LeftButton); });
    WhenModal(&personal, QStringLiteral("realNameWindow"), [&](QWidget* window) {
        personal_was_hidden = !personal.isVisible();
        account_shown = LabelText(window, "accountValue");
        mobile_shown = LabelText(window, "mobileValue");
        window->close();
    });
    personal.exec();
    EXPECT_TRUE(personal_was_hidden);
    EXPECT_FALSE(personal.isVisible());
    EXPECT_EQ(account_shown, QString::fromLatin1(kUnverifiedAccount));
    EXPECT_EQ(mobile_shown, QString::fromLatin1(kUnverifiedAccount));
}

TEST_F(ProfileWindowsTest, TheRechargeLinkStepsAsideForTheRechargeWindowThenCloses) {
    SignIn("demo");
    session_.SetRealNameStatus("张三");
    QWidget main_window;
    account::PersonalWindow personal(Context(), &main_window);
    bool personal_was_hidden = false;
    on_recharge_ = [&] { personal_was_hidden = !personal.isVisible(); };
    WhenModal(&personal, QStringLiteral("personalWindow"),
              [&](QWidget*) { QTest::mouseClick(personal.RechargeLink(), Qt::LeftButton); });
    personal.exec();
    EXPECT_TRUE(personal_was_hidden);
    EXPECT_FALSE(personal.isVisible());
    // Over the window the personal window belongs to, not the hidden one.
    EXPECT_EQ(recharge_owners_, (std::vector<QWidget*>{&main_window}));
}

TEST_F(ProfileWindowsTest, TheShownBalanceFollowsTheStoredOneWhileTheWindowIsOpen) {
    SignIn("demo");
    session_.SetRealNameStatus("张三");
    account::PersonalWindow personal(Context());
    personal.show();
    platform::ProfileTexts paid = session_.Profile();
    paid.balance = "600.00元";
    session_.SetProfile(paid);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return personal.BalanceLabel()->text() == QStringLiteral("当前余额:600.00元"); },
        5000));
}

TEST_F(ProfileWindowsTest, SuccessfulVerificationStoresTheNameAndCloses) {
    SignIn(kUnverifiedAccount);
    ASSERT_TRUE(account::RefreshProfile(Site(), session_));
    ASSERT_EQ(session_.RealNameStatus(), "未实名");
    Control("clear", {}, true);

    account::RealNameWindow window(Context());
    window.show();
    EXPECT_EQ(Submit(window, QStringLiteral("张三")), QString::fromUtf8(account::kVerifiedMessage));
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(session_.RealNameStatus(), "张三");
    // The name reaches the form as %25u sequences, the ID and mobile number unchanged.
    EXPECT_EQ(RealNameBody(), std::string("truename=%25u5F20%25u4E09&perid=") + kIdNumber +
                                  "&mobi=" + kUnverifiedAccount);
    const std::vector<LoggedRequest> log = Requests();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[1].path, "/user/userinfo");
}

TEST_F(ProfileWindowsTest, AMismatchKeepsTheWindowOpenForAnotherTry) {
    SignIn(kUnverifiedAccount);
    session_.SetRealNameStatus("未实名");
    account::LoadProfile(Site(), session_);
    Script("/user/sm2", "1000\r\n");  // codes compare exactly
    account::RealNameWindow window(Context());
    window.show();
    EXPECT_EQ(Submit(window, QStringLiteral("张三")), QString::fromUtf8(account::kMismatchMessage));
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.SubmitButton()->isEnabled());
    EXPECT_EQ(session_.RealNameStatus(), "未实名");
    EXPECT_EQ(window.NameEdit()->text(), QStringLiteral("张三"));
}

TEST_F(ProfileWindowsTest, EnterInEitherBoxSubmitsAsTheButtonDoes) {
    SignIn(kUnverifiedAccount);
    session_.SetRealNameStatus("未实名");
    account::LoadProfile(Site(), session_);
    account::RealNameWindow window(Context());
    window.show();
    for (QLineEdit* box : {window.NameEdit(), window.IdEdit()}) {
        SCOPED_TRACE(box->objectName().toStdString());
        Control("clear", {}, true);
        Script("/user/sm2", "1001");  // a mismatch keeps the window for the next try
        window.NameEdit()->setText(QStringLiteral("张三"));
        window.IdEdit()->setText(QString::fromLatin1(kIdNumber));
        QObject scope;  // the clicker's timer goes with the try
        ModalClicker ok;
        ok.Arm(&scope, QStringLiteral("messageBoxOk"));
        QTest::keyClick(box, Qt::Key_Return);
        ASSERT_TRUE(ok.clicked);
        EXPECT_EQ(ok.text, QString::fromUtf8(account::kMismatchMessage));
        EXPECT_EQ(RealNameBody(), std::string("truename=%25u5F20%25u4E09&perid=") + kIdNumber +
                                      "&mobi=" + kUnverifiedAccount);
    }
}

TEST_F(ProfileWindowsTest, GateTellsAnUnverifiedUserThenOpensThePersonalWindow) {
    SignIn(kUnverifiedAccount);
    session_.SetRealNameStatus("未实名");
    QObject owner;
    std::vector<QString> seen;
    ModalClicker ok;
    ok.Arm(&owner, QStringLiteral("messageBoxOk"));
    WhenModal(&owner, QStringLiteral("personalWindow"), [&](QWidget* window) {
        seen.push_back(ok.clicked ? QStringLiteral("box, then window")
                                  : QStringLiteral("window first"));
        seen.push_back(LabelText(window, "greetingLabel"));
        seen.push_back(LabelText(window, "balanceValue"));
        window->close();
    });
    EXPECT_FALSE(account::PassRealNameGate(Context(), nullptr));
    EXPECT_EQ(ok.text, QStringLiteral("您还未实名认证，请先进行实名"));
    EXPECT_EQ(seen, (std::vector<QString>{QStringLiteral("box, then window"), kUnverifiedGreeting,
                                          QStringLiteral("当前余额:0.00元")}));
}

TEST_F(ProfileWindowsTest, GateLetsVerifiedUsersAndTheFirstMomentsOfASessionThrough) {
    // Before the first profile load the status is empty: nothing is shown, nothing asked.
    EXPECT_EQ(session_.RealNameStatus(), "");
    EXPECT_TRUE(account::PassRealNameGate(Context(), nullptr));
    session_.SetRealNameStatus("张三");
    EXPECT_TRUE(account::PassRealNameGate(Context(), nullptr));
    EXPECT_TRUE(Requests().empty());
}

}  // namespace

#endif  // __has_include("Platform.h")
