#include "app/gui/MainWindowPages.h"

#include <QWidget>

#include "app/gui/MainWindow.h"
#include "app/gui/OpenRecharge.h"
#include "servers/gui/ServerListPage.h"
#include "platform/PlatformRequest.h"
#include "shop/gui/CardPage.h"
#include "shop/gui/FinancePage.h"
#include "shop/gui/PurchasePage.h"
#include "shop/gui/ServicePage.h"

namespace vpsdesk::app {
namespace {

shop::PurchaseContext PurchaseContext(const platform::SiteConstants& site,
                                      platform::SessionState& session) {
    shop::PurchaseContext context;
    context.send = [base = site.BaseUrl()](const shop::CatalogueRequest& request) {
        return platform::SendPlatformRequest(request, base);
    };
    context.balance = [&session] { return session.Profile().balance; };
    context.recharge = [site, &session](QWidget* owner) { OpenRecharge(site, session, owner); };
    context.progress_state = &session.main_progress_state;
    return context;
}

}  // namespace

MainWindowPages::MainWindowPages(MainWindow& window, const platform::SiteConstants& site,
                                 platform::SessionState& session)
    : server_list_(new servers::ServerListPage),
      finance_(new shop::FinancePage),
      cards_(new shop::CardPage),
      purchase_(new shop::PurchasePage(PurchaseContext(site, session))),
      service_(new shop::ServicePage) {
    // The server menu's real-name gate is set by the set-up, which holds the session.
    QObject::connect(&window, &MainWindow::customerCleared, server_list_,
                     &servers::ServerListPage::ClearCustomer);

    window.AddPage(SideNavigation::kServers, server_list_);
    QObject::connect(&window, &MainWindow::customerCleared, finance_,
                     &shop::FinancePage::ClearCustomer);
    window.AddPage(SideNavigation::kFinance, finance_);
    window.AddPage(SideNavigation::kPurchase, purchase_);
    window.AddPage(SideNavigation::kService, service_);
    QObject::connect(&window, &MainWindow::customerCleared, cards_,
                     &shop::CardPage::ClearCustomer);
    window.AddPage(SideNavigation::kCards, cards_);
}

}  // namespace vpsdesk::app
