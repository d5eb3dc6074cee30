// The main window's own controls, its tray icon and its side navigation, with stand-ins for
// the platform: what the user sees and what each click sets off.
#include <gtest/gtest.h>

#include <QAction>
#include <QBuffer>
#include <QContextMenuEvent>
#include <QEnterEvent>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>
#include <QUrl>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <mutex>
#include <thread>
#include <vector>

#include "GuiTestSupport.h"
#include "UrlCatcher.h"
#include "app/gui/MainWindow.h"
#include "app/gui/MainWindowPages.h"
#include "app/gui/SideNavigation.h"
#include "app/gui/TrayIcon.h"
#include "platform/SiteConstants.h"
#include "servers/ServerRow.h"
#include "servers/gui/ServerContextMenu.h"
#include "servers/gui/ServerListPage.h"
#include "servers/gui/ServerListView.h"
#include "shop/gui/CardPage.h"
#include "shop/gui/FinancePage.h"
#include "shop/gui/PurchasePage.h"
#include "shop/gui/ServicePage.h"
#include "ui/CaptionLabel.h"
#include "ui/Colour.h"
#include "ui/QtText.h"

namespace {

using namespace vpsdesk;
using app::MainWindow;
using app::SideNavigation;
using app::TrayIcon;
using ui::guitest::PumpUntil;

template <typename T>
T* Find(QWidget& window, const char* name) {
    return window.findChild<T*>(QString::fromLatin1(name));
}

void Hover(QWidget* widget, bool over) {
    if (over) {
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QApplication::sendEvent(widget, &enter);
    } else {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(widget, &leave);
    }
}

QByteArray Png(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

class MainWindowTest : public ::testing::Test {
  protected:
    // Clicks need a window on the screen.
    void SetUp() override { window_.show(); }
    void TearDown() override { TrayIcon::OverrideSystemTrayAvailable(std::nullopt); }
    MainWindow window_;
    platform::SessionState session_;  // nothing here talks to a platform
    app::MainWindowPages pages_{window_, platform::SiteConstants{}, session_};
};

TEST_F(MainWindowTest, CloseAndMinimiseCaptionsLightUpUnderTheMouse) {
    for (ui::CaptionLabel* label : {window_.CloseLabel(), window_.MinimizeLabel()}) {
        Hover(label, true);
        EXPECT_TRUE(label->styleSheet().contains(ui::StyleSheetColour(0xFFFFFFFF)))
            << label->objectName().toStdString();
        Hover(label, false);
        EXPECT_TRUE(label->styleSheet().contains(ui::StyleSheetColour(0xBBE6E6E6)))
            << label->objectName().toStdString();
    }
}

TEST_F(MainWindowTest, CloseTakesTheTrayIconAwayBeforeAskingToEnd) {
    window_.Tray().Show();
    bool icon_gone_first = false;
    QObject::connect(&window_, &MainWindow::closeRequested,
                     [&] { icon_gone_first = !window_.Tray().IsShown(); });
    QSignalSpy closed(&window_, &MainWindow::closeRequested);
    QTest::mouseClick(window_.CloseLabel(), Qt::LeftButton);
    EXPECT_EQ(closed.count(), 1);
    EXPECT_TRUE(icon_gone_first);
}

TEST_F(MainWindowTest, MinimiseHidesOnlyWhenTheTrayCanBringTheWindowBack) {
    struct Case {
        bool tray_available, icon_shown, stays_visible;
    };
    // Without a notification area (plain X servers, offscreen) a hidden window would be
    // lost for good, so it stays on the task bar minimised.
    for (const Case c :
         {Case{false, true, true}, Case{true, false, true}, Case{true, true, false}}) {
        TrayIcon::OverrideSystemTrayAvailable(c.tray_available);
        c.icon_shown ? window_.Tray().Show() : window_.Tray().Remove();
        window_.showNormal();
        QTest::mouseClick(window_.MinimizeLabel(), Qt::LeftButton);
        EXPECT_TRUE(window_.isMinimized());
        EXPECT_EQ(window_.isVisible(), c.stays_visible) << c.tray_available << c.icon_shown;
    }
}

TEST_F(MainWindowTest, WithoutANotificationAreaTheTrayMenuOpensOnTheWindow) {
    window_.Tray().BuildMenu();
    window_.show();
    PumpUntil([&] { return window_.isVisible(); });
    const QPoint at(20, window_.height() - 20);
    for (const bool tray_available : {true, false}) {
        TrayIcon::OverrideSystemTrayAvailable(tray_available);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, window_.mapToGlobal(at));
        QApplication::sendEvent(&window_, &event);
        EXPECT_EQ(window_.Tray().Menu()->isVisible(), !tray_available) << tray_available;
    }
    window_.Tray().Menu()->hide();
}

TEST_F(MainWindowTest, TitleLabelsOpenSettingsThePersonalWindowAndTheHelpSite) {
    QSignalSpy settings(&window_, &MainWindow::settingsRequested);
    QTest::mouseClick(Find<QLabel>(window_, "settingsLabel"), Qt::LeftButton);
    EXPECT_EQ(settings.count(), 1);

    int personal = 0;
    window_.SetPersonalWindowOpener([&] { ++personal; });
    window_.SetUserName("demo");
    auto* name = Find<QLabel>(window_, "userNameLabel");
    EXPECT_EQ(name->text(), QStringLiteral("demo"));
    QTest::mouseClick(name, Qt::LeftButton);
    QTest::mouseClick(Find<QLabel>(window_, "userPicture"), Qt::LeftButton);
    EXPECT_EQ(personal, 2);

    ui::guitest::UrlCatcher catcher;
    QTest::mouseClick(Find<QLabel>(window_, "helpLabel"), Qt::LeftButton);
    window_.SetHelpAddress(QUrl(QStringLiteral("https://help.example.com/")));
    QTest::mouseClick(Find<QLabel>(window_, "helpLabel"), Qt::LeftButton);
    ASSERT_EQ(catcher.urls.size(), 2);
    EXPECT_EQ(catcher.urls[0], QUrl(ui::Qs(platform::Site().BaseUrl())));
    EXPECT_EQ(catcher.urls[1], QUrl(QStringLiteral("https://help.example.com/")));
}

TEST_F(MainWindowTest, ADoubleClickOnTheUserOpensOnePersonalWindow) {
    for (const char* name : {"userNameLabel", "userPicture"}) {
        SCOPED_TRACE(name);
        auto* label = Find<QLabel>(window_, name);
        int opened = 0;
        bool second_click_sent = false;
        window_.SetPersonalWindowOpener([&] {
            ++opened;
            if (second_click_sent) return;
            second_click_sent = true;
            // The window is still fetching the profile when the double-click's second
            // press and release arrive.
            QTest::mouseDClick(label, Qt::LeftButton);
            QTest::mouseRelease(label, Qt::LeftButton);
        });
        QTest::mouseClick(label, Qt::LeftButton);
        EXPECT_EQ(opened, 1);
        // Once it is closed, the next click opens it again.
        QTest::mouseClick(label, Qt::LeftButton);
        EXPECT_EQ(opened, 2);
    }
}

std::vector<servers::ServerRow> Rows(int count) {
    std::vector<servers::ServerRow> rows(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        rows[static_cast<std::size_t>(i)][servers::column::kProductType] = "云服务器";
        rows[static_cast<std::size_t>(i)][servers::column::kAddress] =
            "10.0.0." + std::to_string(i) + ":3389";
    }
    return rows;
}

TEST_F(MainWindowTest, TheServerListWorksFromTheKeyboard) {
    servers::ServerListPage& page = pages_.ServerList();
    servers::ServerListView* list = page.List();
    list->ApplyRows(Rows(4));
    std::vector<std::string> connected;
    page.SetConnectHandler([&](const servers::ServerRow& row) {
        connected.push_back(row[servers::column::kAddress]);
    });
    page.AddMenuEntry(servers::MenuLevel::Top, QStringLiteral("复制主机IP"),
                      [](const servers::ServerRow&) {});
    page.BuildContextMenu();
    QApplication::setActiveWindow(&window_);
    PumpUntil([&] { return window_.isActiveWindow(); });

    // Tab goes from the navigation to the list, where the first row shows selected.
    window_.Navigation().setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(window_.Navigation().hasFocus());
    QTest::keyClick(&window_.Navigation(), Qt::Key_Tab);
    ASSERT_TRUE(list->hasFocus());
    EXPECT_EQ(list->SelectedRowIndex(), 0);

    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_EQ(list->SelectedRowIndex(), 1);

    // Enter connects as a double-click does.
    QTest::keyClick(list, Qt::Key_Return);
    QTest::keyClick(list, Qt::Key_Enter);
    EXPECT_EQ(connected, (std::vector<std::string>{"10.0.0.1:3389", "10.0.0.1:3389"}));

    // The menu key and Shift+F10 open the menu over the selected row; F10 alone does not.
    QSignalSpy menus(list, &servers::ServerListView::rowMenuRequested);
    QMenu* menu = page.ContextMenu()->TopMenu();
    const QRect row_rect(list->viewport()->mapToGlobal(QPoint(0, list->rowViewportPosition(1))),
                         QSize(list->viewport()->width(), list->rowHeight(1)));
    struct Press {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool opens;
    };
    for (const Press press :
         {Press{Qt::Key_Menu, Qt::NoModifier, true}, Press{Qt::Key_F10, Qt::ShiftModifier, true},
          Press{Qt::Key_F10, Qt::NoModifier, false}}) {
        SCOPED_TRACE(press.key);
        menus.clear();
        QTest::keyClick(list, press.key, press.modifiers);
        ASSERT_EQ(menus.count(), press.opens ? 1 : 0);
        EXPECT_EQ(menu->isVisible(), press.opens);
        if (!press.opens) continue;
        EXPECT_EQ(menus[0][0].toInt(), 1);
        EXPECT_TRUE(row_rect.contains(menus[0][1].toPoint()));
        menu->hide();
    }
    // Without a selected row there is nothing to connect to and no menu.
    list->clearSelection();
    QTest::keyClick(list, Qt::Key_Menu);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_FALSE(menu->isVisible());
    EXPECT_EQ(connected.size(), 2u);

    // Tab leaves the list rather than walking its cells.
    QTest::keyClick(list, Qt::Key_Tab);
    EXPECT_FALSE(list->hasFocus());
}

TEST_F(MainWindowTest, PicturesHelpCaptionPagesAndANoticeLineSetFromAWorker) {
    platform::SiteResources resources;
    const QByteArray png = Png(300, 90);
    resources.logo_image.assign(png.begin(), png.end());
    resources.banner_image1 = resources.logo_image;
    resources.help_text = "客服QQ：10000";
    window_.ShowSiteResources(resources);
    // The logo is larger than its place: it is made to fit, not cut off.
    const QLabel* logo = Find<QLabel>(window_, "logoPicture");
    ASSERT_FALSE(logo->pixmap().isNull());
    EXPECT_LE(logo->pixmap().deviceIndependentSize().width(), logo->width());
    EXPECT_LE(logo->pixmap().deviceIndependentSize().height(), logo->height());
    EXPECT_FALSE(Find<QLabel>(window_, "bannerPicture1")->pixmap().isNull());
    // A picture that failed to load leaves its place empty.
    EXPECT_TRUE(Find<QLabel>(window_, "bannerPicture2")->pixmap().isNull());
    EXPECT_EQ(Find<QLabel>(window_, "helpCaption")->text(), QStringLiteral("客服QQ：10000"));

    // A page per entry in the navigation's order, each the feature's own.
    ASSERT_EQ(window_.Pages()->count(), SideNavigation::kEntryCount);
    EXPECT_EQ(window_.Pages()->widget(SideNavigation::kServers), &pages_.ServerList());
    EXPECT_EQ(window_.Pages()->widget(SideNavigation::kFinance),
              static_cast<QWidget*>(&pages_.Finance()));
    EXPECT_EQ(window_.Pages()->widget(SideNavigation::kPurchase),
              static_cast<QWidget*>(&pages_.Purchase()));
    EXPECT_EQ(window_.Pages()->widget(SideNavigation::kCards),
              static_cast<QWidget*>(&pages_.Cards()));
    EXPECT_EQ(window_.Pages()->widget(SideNavigation::kService),
              static_cast<QWidget*>(&pages_.Service()));

    std::atomic<bool> done{false};
    std::thread ticker([&] {
        window_.SetNoticeLine("温馨提示");
        done = true;
    });
    PumpUntil([&] { return done.load(); });
    ticker.join();
    EXPECT_EQ(Find<QLabel>(window_, "noticeLine")->text(), QStringLiteral("温馨提示"));
}

TEST_F(MainWindowTest, TheUserPictureHasARoundSmoothOutline) {
    const QImage picture = Find<QLabel>(window_, "userPicture")
                               ->pixmap()
                               .toImage()
                               .convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(picture.isNull());
    const double radius = picture.width() / 2.0;
    int worst = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const double distance = std::hypot(x + 0.5 - radius, y + 0.5 - radius);
            if (distance > radius + 0.25) worst = std::max(worst, qAlpha(picture.pixel(x, y)));
        }
    }
    // Outside the circle at most the soft edge of its outline shows, nothing solid.
    EXPECT_LT(worst, 128);
    // The shoulders are there, in light grey, inside the circle.
    EXPECT_GT(qGray(picture.pixel(picture.width() / 2, picture.height() * 9 / 10)), 200);
}

TEST_F(MainWindowTest, TrayIconMenu) {
    TrayIcon& tray = window_.Tray();
    EXPECT_EQ(tray.Icon()->toolTip(), QStringLiteral("管理工具"));
    EXPECT_FALSE(tray.Icon()->icon().isNull());
    tray.BuildMenu();
    tray.BuildMenu();  // a later sign-in builds it afresh
    QMenu* menu = tray.Menu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(tray.Icon()->contextMenu(), menu);
    const QList<QAction*> actions = menu->actions();
    ASSERT_EQ(actions.size(), 2);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("退出程序"));
    EXPECT_EQ(actions[1]->text(), QStringLiteral("注销登录"));
    menu->ensurePolished();
    for (QAction* action : actions) EXPECT_EQ(menu->actionGeometry(action).size(), QSize(100, 28));

    QSignalSpy exits(&tray, &TrayIcon::exitRequested);
    QSignalSpy logouts(&tray, &TrayIcon::logoutRequested);
    actions[0]->trigger();
    actions[1]->trigger();
    EXPECT_EQ(exits.count(), 1);
    EXPECT_EQ(logouts.count(), 1);
}

enum class Shown { kNormal, kMinimised, kHidden };

struct TrayClickCase {
    const char* name;
    Shown before;
    std::vector<QSystemTrayIcon::ActivationReason> reports;
    bool as_one_gesture;  // the reports come within the double-click interval
    bool visible_after;
};

TEST_F(MainWindowTest, TrayClickBringsTheWindowBackAndDoubleClickTogglesIt) {
    using R = QSystemTrayIcon::ActivationReason;
    const R click = QSystemTrayIcon::Trigger;
    const R dclick = QSystemTrayIcon::DoubleClick;
    const TrayClickCase cases[] = {
        // Desktops that report every click as a single one must still bring it back.
        {"click on hidden", Shown::kHidden, {click}, true, true},
        {"click on minimised", Shown::kMinimised, {click}, true, true},
        {"click on shown", Shown::kNormal, {click}, true, true},
        {"double-click on shown", Shown::kNormal, {dclick}, true, false},
        {"double-click on hidden", Shown::kHidden, {dclick}, true, true},
        {"double-click on minimised", Shown::kMinimised, {dclick}, true, true},
        // A double-click reported as a click and a double-click toggles once.
        {"pair on shown", Shown::kNormal, {click, dclick}, true, false},
        {"pair on hidden", Shown::kHidden, {click, dclick}, true, true},
        {"pair with two clicks on hidden", Shown::kHidden, {click, click, dclick}, true, true},
        {"pair on minimised", Shown::kMinimised, {click, dclick}, true, true},
        // A click long before is no part of a later double-click.
        {"click, later double-click", Shown::kHidden, {click, dclick}, false, false},
    };
    const int interval = QApplication::doubleClickInterval();
    for (const TrayClickCase& c : cases) {
        SCOPED_TRACE(c.name);
        MainWindow window;  // no click of an earlier case is pending
        window.show();
        if (c.before == Shown::kMinimised) window.showMinimized();
        if (c.before == Shown::kHidden) window.hide();
        QApplication::setDoubleClickInterval(c.as_one_gesture ? 60000 : 0);
        for (const R reason : c.reports) emit window.Tray().Icon()->activated(reason);
        EXPECT_EQ(window.isVisible(), c.visible_after);
        // Whenever it shows, it shows in its normal state.
        EXPECT_FALSE(window.isMinimized());
    }
    QApplication::setDoubleClickInterval(interval);
}

// What the navigation set off, and the page shown at each re-login.
struct NavigationLog {
    std::vector<int> gated;
    std::vector<int> pages_at_relogin;
    std::atomic<int> loads{0};
    std::atomic<bool> loaded_off_ui_thread{false};
    bool gate_passes = true;
};

class NavigationTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        SideNavigation& navigation = window_.Navigation();
        navigation.SetGate([this](QWidget*) {
            log_.gated.push_back(window_.Navigation().currentRow());
            return log_.gate_passes;
        });
        navigation.SetRelogin(
            [this] { log_.pages_at_relogin.push_back(window_.Pages()->currentIndex()); });
        const std::thread::id ui_thread = std::this_thread::get_id();
        navigation.SetServerLoader([this, ui_thread] {
            log_.loaded_off_ui_thread = std::this_thread::get_id() != ui_thread;
            ++log_.loads;
        });
        navigation.Build();
    }
    int Page() const { return window_.Pages()->currentIndex(); }
    NavigationLog log_;
};

TEST_F(NavigationTest, FiveCaptionedEntriesInTheUiFont) {
    SideNavigation& navigation = window_.Navigation();
    ASSERT_EQ(navigation.count(), 5);
    const char* captions[] = {"产品列表", "财务信息", "购买产品", "客服中心", "卡密激活"};
    for (int i = 0; i < 5; ++i) {
        QListWidgetItem* item = navigation.item(i);
        EXPECT_EQ(item->text(), QString::fromUtf8(captions[i]));
        EXPECT_FALSE(item->icon().isNull());
        EXPECT_EQ(item->font().families().value(0), QStringLiteral("微软雅黑"));
        EXPECT_EQ(item->font().pointSize(), 13);
        // The installed CJK font stands in when the first family is missing.
        EXPECT_TRUE(item->font().families().contains(QStringLiteral("WenQuanYi Micro Hei")));
    }
    EXPECT_EQ(navigation.currentRow(), -1);
}

TEST_F(NavigationTest, EachEntryRenewsTheSignInBeforeOrAfterShowingItsPage) {
    SideNavigation& navigation = window_.Navigation();
    navigation.Select(SideNavigation::kServers);
    // The list shows first, then the sign-in is renewed, then the list loads on a worker.
    EXPECT_EQ(Page(), 0);
    EXPECT_EQ(log_.pages_at_relogin, std::vector<int>{0});
    PumpUntil([&] { return log_.loads.load() == 1; });
    EXPECT_TRUE(log_.loaded_off_ui_thread);

    navigation.Select(SideNavigation::kFinance);   // renews, then shows
    navigation.Select(SideNavigation::kPurchase);  // renews, then shows
    navigation.Select(SideNavigation::kService);   // shows, then renews
    navigation.Select(SideNavigation::kCards);     // gate, shows, then renews
    EXPECT_EQ(log_.pages_at_relogin, (std::vector<int>{0, 0, 1, 3, 4}));
    EXPECT_EQ(Page(), 4);
    EXPECT_EQ(log_.gated.size(), 2u);  // entries 0 and 4 only
    EXPECT_EQ(log_.loads.load(), 1);
}

// A feature's page is shown for its own entry whatever order the pages come in, and a
// later page for an entry takes the place of the earlier one.
TEST(MainWindowPageOrder, EachEntryShowsItsOwnPageWhateverTheOrderTheyCameIn) {
    MainWindow window;
    window.Navigation().SetGate({});
    auto* cards = new QWidget;
    auto* servers = new QWidget;
    auto* finance = new QWidget;
    window.AddPage(SideNavigation::kCards, cards);
    window.AddPage(SideNavigation::kServers, servers);
    window.AddPage(SideNavigation::kFinance, new QWidget);
    window.AddPage(SideNavigation::kFinance, finance);
    EXPECT_EQ(window.Pages()->count(), 3);
    EXPECT_EQ(window.Page(SideNavigation::kPurchase), nullptr);

    window.Navigation().Build();
    struct Choice {
        SideNavigation::Entry entry;
        QWidget* shown;
    };
    // An entry without a page leaves the page shown before.
    for (const Choice choice :
         {Choice{SideNavigation::kCards, cards}, Choice{SideNavigation::kFinance, finance},
          Choice{SideNavigation::kPurchase, finance}, Choice{SideNavigation::kServers, servers}}) {
        SCOPED_TRACE(choice.entry);
        window.Navigation().Select(choice.entry);
        EXPECT_EQ(window.Pages()->currentWidget(), choice.shown);
        EXPECT_EQ(window.Page(choice.entry) == choice.shown,
                  choice.entry != SideNavigation::kPurchase);
    }
    EXPECT_EQ(window.Pages()->indexOf(servers), 0);
    EXPECT_EQ(window.Pages()->indexOf(cards), 2);
}

TEST_F(NavigationTest, TakingTheFocusChoosesNothingAndTheArrowKeysChooseAsClicksDo) {
    SideNavigation& navigation = window_.Navigation();
    QApplication::setActiveWindow(&window_);
    PumpUntil([&] { return window_.isActiveWindow(); });
    navigation.setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(navigation.hasFocus());
    EXPECT_EQ(navigation.currentRow(), -1);
    EXPECT_TRUE(log_.gated.empty());
    EXPECT_TRUE(log_.pages_at_relogin.empty());

    QTest::keyClick(&navigation, Qt::Key_Down);  // the first entry
    QTest::keyClick(&navigation, Qt::Key_Down);
    EXPECT_EQ(Page(), SideNavigation::kFinance);
    EXPECT_EQ(log_.gated, std::vector<int>{SideNavigation::kServers});
    EXPECT_EQ(log_.pages_at_relogin, (std::vector<int>{0, 0}));
    PumpUntil([&] { return log_.loads.load() >= 1; });
    EXPECT_EQ(log_.loads.load(), 1);
}

TEST_F(NavigationTest, AClosedGateKeepsThePageAndTheSelectionAndRunsNothingElse) {
    SideNavigation& navigation = window_.Navigation();
    navigation.Select(SideNavigation::kPurchase);
    ASSERT_EQ(Page(), 2);
    log_.pages_at_relogin.clear();
    log_.gate_passes = false;
    for (int entry : {SideNavigation::kServers, SideNavigation::kCards}) {
        navigation.Select(entry);
        EXPECT_EQ(Page(), 2);
        EXPECT_EQ(navigation.currentRow(), SideNavigation::kPurchase);
    }
    EXPECT_TRUE(log_.pages_at_relogin.empty());
    EXPECT_EQ(log_.loads.load(), 0);

    // The customer verifies meanwhile: the same entry now goes through.
    log_.gate_passes = true;
    navigation.Select(SideNavigation::kServers);
    EXPECT_EQ(Page(), 0);
    PumpUntil([&] { return log_.loads.load() == 1; });
}

}  // namespace
