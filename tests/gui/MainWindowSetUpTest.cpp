// The set-up after a login and the log-out from the tray menu, against a reference
// platform with the demo account: what the window shows afterwards, the order of the
// steps as the background loops see it, and a second sign-in after a log-out.
#if __has_include("Platform.h")

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "GuiTestSupport.h"
#include "LocalPlatform.h"
#include "account/LoginApi.h"
#include "account/ProfileApi.h"
#include "account/gui/LoginWindow.h"
#include "account/gui/PersonalWindow.h"
#include "app/gui/MainWindow.h"
#include "app/gui/MainWindowPages.h"
#include "app/gui/MainWindowSetUp.h"
#include "app/gui/SideNavigation.h"
#include "app/gui/TrayIcon.h"
#include "net/WebRequest.h"
#include "os/ProgramFolder.h"
#include "platform/PlatformApi.h"
#include "platform/SessionState.h"
#include "platform/SiteConstants.h"
#include "rdpsettings/gui/SettingsWindow.h"
#include "servers/ServerRow.h"
#include "servers/gui/ServerContextMenu.h"
#include "servers/gui/ServerListPage.h"
#include "servers/gui/ServerListView.h"
#include "shop/gui/CardPage.h"
#include "ui/HintEdit.h"
#include "ui/UiThread.h"

namespace {

using namespace vpsdesk;
using ui::guitest::PumpUntil;

using namespace std::chrono_literals;

const char* const kToken = "main-window-set-up-token";
const std::string kMachineCode = "0123456789ABCDEF";

// What the background loops found when the set-up started them.
struct StartLog {
    bool tray_shown = false;
    int navigation_entries = 0;
    int navigation_row = -1;
    QString page_text;
    bool tray_menu_built = false;
    bool window_visible = false;
};

class MainWindowSetUpTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform_ = std::make_unique<ui::guitest::LocalPlatform>(kToken);
        platform::SiteResources resources;
        resources.help_text = "客服QQ：10000";
        platform::SetSiteResources(resources);
        // Before the first profile load nothing is known, and the gate lets the list through.
        session_.SetCredentials("demo", "demo2026");
        login_ = new account::LoginWindow(platform_->Site(), session_);
        window_ = new app::MainWindow;
        pages_ = std::make_unique<app::MainWindowPages>(*window_, platform_->Site(), session_);
        set_up_ = new app::MainWindowSetUp(*window_, *pages_, *login_, session_, platform_->Site(),
                                           kMachineCode);
        // Each choice of the list starts one load on a worker; the window outlives them all.
        QObject::connect(&window_->Navigation(), &app::SideNavigation::pageChosen,
                         [this](int page) {
                             if (page == app::SideNavigation::kServers) ++loads_started_;
                         });
        window_->Navigation().SetServerLoader([this] {
            pages_->ServerList().RefreshServerList();
            ++loads_finished_;
        });
        set_up_->SetKeepAliveStarter([this](app::KeepAliveSteps steps, app::KeepAlivePace pace) {
            keep_alive_ = Snapshot();
            steps_ = std::move(steps);
            pace_ = pace;
        });
        set_up_->SetNoticeStarter([this] { notices_ = Snapshot(); });
    }

    void TearDown() override {
        PumpUntil([&] { return loads_finished_.load() == loads_started_; });
        delete set_up_;
        delete window_;
        delete login_;
        if (platform_) platform::PlatformLogout(platform_->Site());  // unless a test stopped it
        platform_.reset();
    }

    StartLog Snapshot() {
        StartLog log;
        // Workers see the widgets through the UI thread, like the real loops.
        ui::OnUiThread([&] {
            log.tray_shown = window_->Tray().IsShown();
            log.navigation_entries = window_->Navigation().count();
            log.navigation_row = window_->Navigation().currentRow();
            log.page_text = pages_->ServerList().PageText();
            log.tray_menu_built = window_->Tray().Menu() != nullptr;
            log.window_visible = window_->isVisible();
        });
        return log;
    }

    // As the watcher does it: on a thread of its own while the UI thread goes on.
    void SignInAndRunSetUp(const std::string& account = "demo") {
        ASSERT_EQ(account::SilentRelogin(platform_->Site(), account, "demo2026", kMachineCode),
                  "1000");
        session_.SetCredentials(account, "demo2026");
        std::atomic<bool> done{false};
        std::thread watcher([&] {
            set_up_->Run();
            done = true;
        });
        PumpUntil([&] { return done.load(); });
        watcher.join();
    }

    // One pass of the keep-alive the set-up started, on a worker as the real loop runs.
    void RunKeepAlivePass() {
        std::atomic<bool> done{false};
        std::thread pass([&] {
            (void)steps_.relogin();
            const std::optional<std::string> name = steps_.fetch_user_name();
            steps_.show_connection(name.has_value());
            if (name) steps_.show_user_name(*name);
            if (name) steps_.refresh_profile();
            steps_.refresh_list();
            done = true;
        });
        PumpUntil([&] { return done.load(); });
        pass.join();
    }

    std::vector<std::string> RowIds() const {
        std::vector<std::string> ids;
        for (int r = 0; pages_->ServerList().RowAt(r); ++r)
            ids.push_back((*pages_->ServerList().RowAt(r))[servers::column::kId]);
        return ids;
    }

    int Rows() const {
        int rows = 0;
        while (pages_->ServerList().RowAt(rows)) ++rows;
        return rows;
    }

    std::string Requests() { return platform_->Control("requests"); }

    std::unique_ptr<ui::guitest::LocalPlatform> platform_;
    platform::SessionState session_;  // outlives the windows and their workers
    account::LoginWindow* login_ = nullptr;
    app::MainWindow* window_ = nullptr;
    std::unique_ptr<app::MainWindowPages> pages_;
    app::MainWindowSetUp* set_up_ = nullptr;
    int loads_started_ = 0;
    std::atomic<int> loads_finished_{0};
    StartLog keep_alive_, notices_;
    app::KeepAliveSteps steps_;
    app::KeepAlivePace pace_{0ms, 0};
};

TEST_F(MainWindowSetUpTest, StepsRunInOrderAndLeaveTheServerListShowing) {
    session_.session_ended = 1;  // as a log-out left it
    SignInAndRunSetUp();

    // The keep-alive starts with the icon, the navigation and page "1" in place, before the
    // menus; the notices start before the window shows.
    EXPECT_TRUE(keep_alive_.tray_shown);
    EXPECT_EQ(keep_alive_.navigation_entries, 5);
    EXPECT_EQ(keep_alive_.navigation_row, app::SideNavigation::kServers);
    EXPECT_EQ(keep_alive_.page_text, QStringLiteral("1"));
    EXPECT_FALSE(keep_alive_.tray_menu_built);
    EXPECT_TRUE(notices_.tray_menu_built);
    EXPECT_FALSE(notices_.window_visible);

    EXPECT_EQ(session_.session_ended, 0);
    // A pass every thirty seconds, as the platform expects.
    EXPECT_EQ(pace_.step, 1s);
    EXPECT_EQ(pace_.Pass(), 30s);
    EXPECT_TRUE(window_->isVisible());
    EXPECT_EQ(window_->Pages()->currentIndex(), app::SideNavigation::kServers);
    ASSERT_NE(window_->Tray().Menu(), nullptr);
    EXPECT_EQ(window_->Tray().Menu()->actions().size(), 2);
    EXPECT_EQ(window_->findChild<QLabel*>(QStringLiteral("helpCaption"))->text(),
              QStringLiteral("客服QQ：10000"));
    // The demo account's first page, loaded by the worker the navigation started.
    PumpUntil([&] { return Rows() == 5; });
    EXPECT_NE(Requests().find("/user/khdloginpd"), std::string::npos);
}

TEST_F(MainWindowSetUpTest, KeepAliveStepsShowTheNameAndStoreTheRealNameStatus) {
    SignInAndRunSetUp();
    ASSERT_TRUE(steps_.relogin && steps_.fetch_user_name && steps_.show_user_name &&
                steps_.refresh_profile && steps_.refresh_list && steps_.give_up);
    std::string relogin, name;
    std::atomic<bool> done{false};
    std::thread keep_alive([&] {
        relogin = steps_.relogin();
        name = steps_.fetch_user_name().value_or("no answer");
        steps_.show_user_name(name);
        steps_.refresh_profile();
        steps_.refresh_list();
        done = true;
    });
    PumpUntil([&] { return done.load(); });
    keep_alive.join();
    EXPECT_EQ(relogin, "1000");
    EXPECT_EQ(name, "demo");
    EXPECT_EQ(window_->findChild<QLabel*>(QStringLiteral("userNameLabel"))->text(),
              QStringLiteral("demo"));
    const std::string status = session_.RealNameStatus();
    EXPECT_FALSE(status.empty());
    EXPECT_NE(status, account::kNotVerified);
    EXPECT_EQ(Rows(), 5);
}

TEST_F(MainWindowSetUpTest, LogOutFromTheTrayMenuThenSignInAgain) {
    SignInAndRunSetUp();
    PumpUntil([&] { return Rows() == 5; });
    QAction* logout = window_->Tray().Menu()->findChild<QAction*>(QStringLiteral("logoutAction"));
    ASSERT_NE(logout, nullptr);
    logout->trigger();  // returns after the two-second wait

    EXPECT_FALSE(window_->Tray().IsShown());
    EXPECT_FALSE(window_->isVisible());
    EXPECT_TRUE(login_->isVisible());
    EXPECT_EQ(session_.session_ended, 1);
    EXPECT_NE(Requests().find("/user/logout.asp"), std::string::npos);

    keep_alive_ = {};
    SignInAndRunSetUp();
    EXPECT_EQ(session_.session_ended, 0);
    EXPECT_TRUE(keep_alive_.tray_shown);
    EXPECT_TRUE(window_->Tray().IsShown());
    EXPECT_TRUE(window_->isVisible());
    EXPECT_EQ(window_->Tray().Menu()->actions().size(), 2);
    EXPECT_EQ(window_->Navigation().currentRow(), app::SideNavigation::kServers);
}

TEST_F(MainWindowSetUpTest, SignOutLeavesNothingOfTheCustomerForTheNextOne) {
    SignInAndRunSetUp();
    PumpUntil([&] { return Rows() == 5; });
    RunKeepAlivePass();
    ASSERT_EQ(session_.ProfileMobile(), "13800138000");
    const std::vector<std::string> demo_ids = RowIds();
    pages_->ServerList().List()->selectRow(0);
    ASSERT_TRUE(pages_->ServerList().SelectedRow());
    pages_->Cards().CardNumber()->setText(QStringLiteral("DEMO-CARD"));
    pages_->Cards().CardPassword()->setText(QStringLiteral("secret"));

    // Every state the list passes through from the sign-out on is looked at.
    bool demo_row_seen = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        for (const std::string& id : RowIds())
            if (std::find(demo_ids.begin(), demo_ids.end(), id) != demo_ids.end())
                demo_row_seen = true;
    });
    QAction* logout = window_->Tray().Menu()->findChild<QAction*>(QStringLiteral("logoutAction"));
    ASSERT_NE(logout, nullptr);
    logout->trigger();
    watch.start(1);

    EXPECT_EQ(Rows(), 0);
    EXPECT_FALSE(pages_->ServerList().SelectedRow());
    EXPECT_EQ(pages_->ServerList().PageText(), QStringLiteral("1"));
    EXPECT_EQ(pages_->ServerList().PageSelector()->count(), 0);
    EXPECT_TRUE(window_->findChild<QLabel*>(QStringLiteral("userNameLabel"))->text().isEmpty());
    const platform::ProfileTexts profile = session_.Profile();
    EXPECT_EQ(profile.mobile, "");
    EXPECT_EQ(profile.balance, "");
    EXPECT_EQ(profile.real_name_status, "");
    EXPECT_EQ(session_.SessionPassword(), "");
    EXPECT_TRUE(pages_->Cards().CardNumber()->IsShowingHint());
    EXPECT_TRUE(pages_->Cards().CardPassword()->IsShowingHint());

    SignInAndRunSetUp("13900139000");
    PumpUntil([&] { return loads_finished_.load() == loads_started_; });
    RunKeepAlivePass();
    EXPECT_EQ(session_.RealNameStatus(), account::kNotVerified);
    EXPECT_EQ(session_.ProfileMobile(), "13900139000");

    // The gate stands before his list, and his verification carries his own number.
    ui::guitest::ModalClicker message;
    message.Arm(window_, QStringLiteral("messageBoxOk"));
    QTimer personal;
    QObject::connect(&personal, &QTimer::timeout, [&] {
        if (auto* open = qobject_cast<account::PersonalWindow*>(QApplication::activeModalWidget()))
            open->reject();
    });
    personal.start(2);
    window_->Navigation().Select(app::SideNavigation::kPurchase);
    window_->Navigation().Select(app::SideNavigation::kServers);
    personal.stop();
    EXPECT_EQ(message.text, QStringLiteral("您还未实名认证，请先进行实名"));
    (void)account::SubmitRealName(platform_->Site(), account::EncodeRealName("李四"),
                                  "110105194912310021", session_.ProfileMobile());
    const std::string log = Requests();
    EXPECT_NE(log.find("mobi=13900139000"), std::string::npos);
    EXPECT_EQ(log.find("mobi=13800138000"), std::string::npos);

    watch.stop();
    EXPECT_FALSE(demo_row_seen);
}

TEST_F(MainWindowSetUpTest, APlatformThatStopsAnsweringLeavesRowsAndNameAndSaysSoQuietly) {
    SignInAndRunSetUp();
    PumpUntil([&] { return Rows() == 5; });
    RunKeepAlivePass();
    pages_->ServerList().List()->selectRow(2);
    window_->SetNoticeLine("公告：维护通知");
    const std::vector<std::string> ids = RowIds();
    auto* notice = window_->findChild<QLabel*>(QStringLiteral("noticeLine"));
    ASSERT_NE(notice, nullptr);

    platform_.reset();  // the platform goes away under the signed-in client
    RunKeepAlivePass();
    pages_->ServerList().RefreshServerList();
    EXPECT_EQ(RowIds(), ids);
    EXPECT_EQ((*pages_->ServerList().SelectedRow())[servers::column::kId], ids[2]);
    EXPECT_TRUE(pages_->ServerList().Notice()->text().isEmpty());
    EXPECT_EQ(window_->findChild<QLabel*>(QStringLiteral("userNameLabel"))->text(),
              QStringLiteral("demo"));
    EXPECT_NE(session_.RealNameStatus(), account::kNotVerified);
    EXPECT_EQ(notice->text(), QString::fromUtf8(app::MainWindow::kConnectionLostText));
    // A notice that comes meanwhile waits until the platform answers again.
    window_->SetNoticeLine("公告：新的通知");
    EXPECT_EQ(notice->text(), QString::fromUtf8(app::MainWindow::kConnectionLostText));
    window_->SetConnectionLost(false);
    EXPECT_EQ(notice->text(), QStringLiteral("公告：新的通知"));
}

TEST_F(MainWindowSetUpTest, AnUnverifiedCustomerMeetsTheGateAndKeepsThePageShown) {
    SignInAndRunSetUp();
    PumpUntil([&] { return Rows() == 5; });
    app::SideNavigation& navigation = window_->Navigation();
    navigation.Select(app::SideNavigation::kPurchase);
    session_.SetRealNameStatus(std::string(account::kNotVerified));
    const auto lists = [&] {
        const std::string log = Requests();
        int count = 0;
        for (auto at = log.find("/user/data/vpslist"); at != std::string::npos;
             at = log.find("/user/data/vpslist", at + 1))
            ++count;
        return count;
    };
    const int lists_before = lists();

    ui::guitest::ModalClicker message;
    message.Arm(window_, QStringLiteral("messageBoxOk"));
    bool personal_opened = false;
    QTimer personal;
    QObject::connect(&personal, &QTimer::timeout, [&] {
        if (auto* open =
                qobject_cast<account::PersonalWindow*>(QApplication::activeModalWidget())) {
            personal_opened = message.clicked;  // after the message, not before
            open->reject();
        }
    });
    personal.start(2);
    navigation.Select(app::SideNavigation::kServers);
    personal.stop();

    EXPECT_EQ(message.text, QStringLiteral("您还未实名认证，请先进行实名"));
    EXPECT_TRUE(personal_opened);
    EXPECT_EQ(window_->Pages()->currentIndex(), app::SideNavigation::kPurchase);
    EXPECT_EQ(navigation.currentRow(), app::SideNavigation::kPurchase);
    EXPECT_EQ(lists(), lists_before);
}

TEST_F(MainWindowSetUpTest, SettingsLabelOpensTheSettingsWindowAndTheMenuConnects) {
    QTemporaryDir folder;  // the settings window saves config.ini when it closes
    os::OverrideProgramFolder(folder.path().toStdString());
    rdpsettings::SettingsWindow::SetDriveLister([] { return std::vector<os::MountedDrive>{}; });
    SignInAndRunSetUp();

    bool opened = false;
    QTimer settings;
    QObject::connect(&settings, &QTimer::timeout, [&] {
        if (auto* open =
                qobject_cast<rdpsettings::SettingsWindow*>(QApplication::activeModalWidget())) {
            opened = open->parentWidget() == window_;
            open->reject();
        }
    });
    settings.start(2);
    QTest::mouseClick(window_->findChild<QLabel*>(QStringLiteral("settingsLabel")), Qt::LeftButton);
    settings.stop();
    rdpsettings::SettingsWindow::SetDriveLister({});
    os::OverrideProgramFolder({});
    EXPECT_TRUE(opened);
    EXPECT_TRUE(QFileInfo::exists(folder.filePath(QStringLiteral("config.ini"))));

    // The remote-desktop entry heads the server menu.
    QMenu* menu = pages_->ServerList().ContextMenu()->TopMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_FALSE(menu->actions().isEmpty());
    EXPECT_EQ(menu->actions().front()->text(), QStringLiteral("连接主机"));
}

}  // namespace

#endif  // __has_include("Platform.h")
