#pragma once
// The pages of the main window, one per side-navigation entry, each made by its feature
// and put in its place here. A feature's page comes in by one line of this wiring.
class QWidget;

#include "platform/SessionState.h"
#include "platform/SiteConstants.h"

namespace vpsdesk::servers {
class ServerListPage;
}
namespace vpsdesk::shop {
class CardPage;
class FinancePage;
class PurchasePage;
class ServicePage;
}  // namespace vpsdesk::shop
namespace vpsdesk::app {

class MainWindow;

class MainWindowPages {
  public:
    // UI thread. Makes the pages and hands them to `window`, which owns them from then on.
    // The pages that talk to the platform do so with `site` for `session`'s customer.
    MainWindowPages(MainWindow& window, const platform::SiteConstants& site,
                    platform::SessionState& session);

    servers::ServerListPage& ServerList() const { return *server_list_; }
    shop::FinancePage& Finance() const { return *finance_; }
    shop::CardPage& Cards() const { return *cards_; }
    shop::PurchasePage& Purchase() const { return *purchase_; }
    shop::ServicePage& Service() const { return *service_; }

  private:
    servers::ServerListPage* server_list_ = nullptr;
    shop::FinancePage* finance_ = nullptr;
    shop::CardPage* cards_ = nullptr;
    shop::PurchasePage* purchase_ = nullptr;
    shop::ServicePage* service_ = nullptr;
};

}  // namespace vpsdesk::app
