#include "app/gui/MainWindowPages.h"

#include <QWidget>

#include "app/gui/MainWindow.h"
#include "servers/gui/ServerListPage.h"

namespace vpsdesk::app {
namespace {

// An empty page for an entry whose feature has not come yet.
QWidget* EmptyPage(const char* name) {
    auto* page = new QWidget;
    page->setObjectName(QString::fromLatin1(name));
    return page;
}

}  // namespace

MainWindowPages::MainWindowPages(MainWindow& window) : server_list_(new servers::ServerListPage) {
    // The server menu's real-name gate is set by the set-up, which holds the session.
    QObject::connect(&window, &MainWindow::customerCleared, server_list_,
                     &servers::ServerListPage::ClearCustomer);

    window.AddPage(SideNavigation::kServers, server_list_);
    window.AddPage(SideNavigation::kFinance, EmptyPage("financePage"));
    window.AddPage(SideNavigation::kPurchase, EmptyPage("purchasePage"));
    window.AddPage(SideNavigation::kService, EmptyPage("servicePage"));
    window.AddPage(SideNavigation::kCards, EmptyPage("cardPage"));
}

}  // namespace vpsdesk::app
