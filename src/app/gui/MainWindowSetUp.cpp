#include "app/gui/MainWindowSetUp.h"

#include <QSystemTrayIcon>
#include <QUrl>

#include "account/LoginApi.h"
#include "account/ProfileApi.h"
#include "account/gui/LoginWindow.h"
#include "account/gui/PersonalWindow.h"
#include "account/gui/RealNameGateUi.h"
#include "app/gui/ExitClient.h"
#include "app/gui/ExpiryBalloon.h"
#include "app/gui/Logout.h"
#include "app/gui/MainWindow.h"
#include "app/gui/MainWindowPages.h"
#include "app/gui/NoticeTicker.h"
#include "app/gui/OpenRecharge.h"
#include "app/gui/PopupNotice.h"
#include "app/gui/SideNavigation.h"
#include "app/gui/TrayIcon.h"
#include "platform/SiteConstants.h"
#include "rdpsettings/gui/SettingsWindow.h"
#include "servers/ExpiryReminder.h"
#include "platform/PlatformRequest.h"
#include "servers/gui/ConnectToServer.h"
#include "servers/gui/ServerListPage.h"
#include "servers/gui/ServerOperations.h"
#include "shop/gui/CardPage.h"
#include "shop/gui/FinancePage.h"
#include "shop/gui/PurchasePage.h"
#include "shop/gui/ServicePage.h"
#include "ui/EventLog.h"
#include "ui/QtText.h"
#include "ui/UiThread.h"
#include "ui/Waiting.h"

namespace vpsdesk::app {

MainWindowSetUp::MainWindowSetUp(app::MainWindow& window, const MainWindowPages& pages,
                                 account::LoginWindow& login_window,
                                 platform::SessionState& session, platform::SiteConstants site,
                                 std::string machine_code)
    : window_(window),
      pages_(pages),
      login_window_(login_window),
      session_(session),
      site_(std::move(site)),
      machine_code_(std::move(machine_code)) {
    start_keep_alive_ = [this](KeepAliveSteps steps, KeepAlivePace pace) {
        SessionKeepAlive::StartDetached(session_, std::move(steps), pace);
    };
    start_notices_ = [this] {
        StartNoticeTicker(session_, site_,
                          [this](const std::string& line) { window_.SetNoticeLine(line); });
        StartPopupNotice(session_, site_);
    };
    ConnectControls();
}

void MainWindowSetUp::ConnectControls() {
    app::SideNavigation& navigation = window_.Navigation();
    // The answer changes nothing here: the keep-alive is the one that gives up.
    navigation.SetRelogin([this] { (void)SilentRelogin(); });
    navigation.SetServerLoader([this] { LoadServers(); });
    navigation.SetFinanceLoader([this] { pages_.Finance().LoadFinancePage("1"); });
    pages_.Finance().SetSite(site_);
    pages_.Cards().SetSite(site_);
    pages_.Cards().SetProgressState(&session_.main_progress_state);
    // A purchase may add a server and always changes the balance the windows show.
    QObject::connect(&pages_.Purchase(), &shop::PurchasePage::purchaseFinished, &window_, [this] {
        ui::RunInBackground([this] {
            (void)account::RefreshProfile(site_, session_);
            pages_.ServerList().RefreshServerList();
        });
    });
    // A redeemed card changes the balance the windows show.
    pages_.Cards().SetRedeemedHandler([this] {
        ui::RunInBackground([this] { (void)account::RefreshProfile(site_, session_); });
    });
    navigation.SetGate(
        [this](QWidget* parent) { return account::PassRealNameGate(Account(), parent); });
    // Every entry of the server menu is for verified customers only.
    pages_.ServerList().SetMenuGate(
        [this] { return account::PassRealNameGate(Account(), &window_); });
    pages_.ServerList().SetSite(site_);
    window_.SetPersonalWindowOpener([this] {
        account::PersonalWindow personal(Account(), &window_);
        personal.exec();
    });

    // Double-click and "连接主机" connect by remote desktop; the menu is built by the set-up.
    // The launch's milestones go to the event log, like the rest of the client's.
    servers::AttachRemoteDesktop(pages_.ServerList(), ui::LogEvent);
    // The rest of the menu: copying, the server operations and the renewal.
    servers::AttachServerOperations(pages_.ServerList(), Operations());
    // Servers about to expire: the tray counts them, a balloon names each once a day.
    auto* expiry = new ExpiryBalloon(
        window_.Tray(), servers::LocalToday,
        [this](const servers::ServerRow& row) {
            window_.Tray().Activate(QSystemTrayIcon::Trigger);
            if (!account::PassRealNameGate(Account(), &window_)) return;
            servers::OpenRenewWindow(pages_.ServerList(), Operations(), row, &window_);
        },
        &window_);
    pages_.ServerList().SetRowsShownHandler(
        [expiry](const std::vector<servers::ServerRow>& rows) { expiry->RowsShown(rows); });
    QObject::connect(&window_, &app::MainWindow::settingsRequested, &window_, [this] {
        // Centred where the login window stands, like every settings window.
        rdpsettings::SettingsWindow settings(&login_window_, &window_);
        settings.exec();
    });

    app::TrayIcon& tray = window_.Tray();
    QObject::connect(&tray, &app::TrayIcon::exitRequested, &tray, [&tray] {
        tray.Remove();
        ExitClient(0);
    });
    QObject::connect(&tray, &app::TrayIcon::logoutRequested, &tray, [this, &tray] {
        Logout(
            login_window_, window_, session_, site_, [&tray] { tray.Remove(); },
            [this] { window_.ClearCustomer(); });
    });
    QObject::connect(&window_, &app::MainWindow::closeRequested, &window_, [] { ExitClient(0); });
    // The icon leaves the notification area with the process, whichever way it ends.
    AtClientExit([&tray] { tray.Remove(); });
}

servers::ServerOperationContext MainWindowSetUp::Operations() const {
    servers::ServerOperationContext context;
    context.send = [base = site_.BaseUrl()](const servers::OperationRequest& request) {
        return platform::SendPlatformRequest(request, base);
    };
    context.credentials = [&session = session_] {
        platform::Credentials credentials = session.GetCredentials();
        return std::pair{std::move(credentials.account), std::move(credentials.password)};
    };
    context.balance = [&session = session_] { return session.Profile().balance; };
    context.host = [host = site_.site_host] { return host; };
    context.show = servers::ShowOperationOutcome;
    context.recharge = [this](QWidget* owner) { OpenRecharge(site_, session_, owner); };
    context.account_changed = [this] {
        ui::RunInBackground([this] { (void)account::RefreshProfile(site_, session_); });
    };
    return context;
}

std::string MainWindowSetUp::SilentRelogin() const {
    const platform::Credentials credentials = session_.GetCredentials();
    return account::SilentRelogin(site_, credentials.account, credentials.password, machine_code_);
}

account::AccountContext MainWindowSetUp::Account() const {
    return {site_, session_, platform::Resources().client_title,
            [this](QWidget* owner) { OpenRecharge(site_, session_, owner); }};
}

void MainWindowSetUp::LoadServers() {
    servers::ServerListPage& list = pages_.ServerList();
    list.RefreshServerList();
    if (!ui::EventLogEnabled()) return;
    int rows = 0;
    ui::OnUiThread([&list, &rows] {
        while (list.RowAt(rows)) ++rows;
    });
    ui::LogEvent("server-list-rows " + std::to_string(rows));
}

KeepAliveSteps MainWindowSetUp::KeepAliveStepsForWindow() {
    KeepAliveSteps steps;
    steps.relogin = [this] { return SilentRelogin(); };
    steps.fetch_user_name = [site = site_] { return account::FetchUserName(site); };
    // Both on the UI thread, where sign-out clears the window: a pass of a customer who
    // has signed out meanwhile writes nothing.
    const unsigned customer = session_.Customer();
    steps.show_user_name = [this, customer](const std::string& name) {
        ui::OnUiThread([this, &name, customer] {
            if (session_.Customer() == customer) window_.SetUserName(name);
        });
    };
    steps.show_connection = [this, customer](bool answered) {
        ui::OnUiThread([this, answered, customer] {
            if (session_.Customer() == customer) window_.SetConnectionLost(!answered);
        });
    };
    steps.refresh_profile = [this] { (void)account::RefreshProfile(site_, session_); };
    steps.refresh_list = [this] { LoadServers(); };
    steps.give_up = [] {
        ui::ShowClientMessage(kSessionLostMessage);
        ExitClient(0);
    };
    return steps;
}

void MainWindowSetUp::Run() {
    app::SideNavigation& navigation = window_.Navigation();
    servers::ServerListPage& list = pages_.ServerList();
    session_.session_ended = 0;
    ui::OnUiThread([this] { window_.Tray().Show(); });
    ui::OnUiThread([this] {
        window_.ShowSiteResources(platform::Resources());
        const QUrl help =
            window_.HelpAddress().isEmpty() ? QUrl(ui::Qs(site_.BaseUrl())) : window_.HelpAddress();
        pages_.Service().ShowHelp(platform::Resources().help_text, help);
    });
    ui::OnUiThread([&navigation] {
        navigation.Build();
        navigation.Select(app::SideNavigation::kServers);
    });
    ui::OnUiThread([&list] { list.SetPageText(QStringLiteral("1")); });
    start_keep_alive_(KeepAliveStepsForWindow(), keep_alive_pace_);
    pages_.Finance().LoadFinancePage("1");
    ui::OnUiThread([&list] { list.BuildContextMenu(); });
    ui::OnUiThread([this] { window_.Tray().BuildMenu(); });
    pages_.Purchase().LoadProductTypes();
    start_notices_();
    ui::OnUiThread([this] {
        window_.show();
        window_.raise();
        window_.activateWindow();
    });
    ui::LogEvent("main-window-opened");
}

}  // namespace vpsdesk::app
