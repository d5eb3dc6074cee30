#pragma once
// The pages of the main window, one per side-navigation entry, each made by its feature
// and put in its place here. A feature's page comes in by one line of this wiring.
class QWidget;

namespace vpsdesk::servers {
class ServerListPage;
}
namespace vpsdesk::app {

class MainWindow;

class MainWindowPages {
  public:
    // UI thread. Makes the pages and hands them to `window`, which owns them from then on.
    explicit MainWindowPages(MainWindow& window);

    servers::ServerListPage& ServerList() const { return *server_list_; }

  private:
    servers::ServerListPage* server_list_ = nullptr;
};

}  // namespace vpsdesk::app
