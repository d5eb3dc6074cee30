#pragma once
// The main window's signed-in life: what its controls do (navigation, tray menu, close),
// and the set-up that runs after every login on the watcher's thread: tray icon,
// pictures, navigation, first page, keep-alive, menus, notices, then the window shows.
#include <chrono>
#include <functional>
#include <string>

#include "account/AccountContext.h"
#include "app/gui/SessionKeepAlive.h"
#include "platform/SessionState.h"
#include "platform/SiteConstants.h"
#include "servers/gui/ServerOperationContext.h"

namespace vpsdesk::account {
class LoginWindow;
}
namespace vpsdesk::app {

class MainWindow;
class MainWindowPages;

class MainWindowSetUp {
  public:
    // UI thread. Connects the window's controls and its pages; `login_window` comes back
    // on log-out. Every request goes to `site` on behalf of `session`.
    MainWindowSetUp(app::MainWindow& window, const MainWindowPages& pages,
                    account::LoginWindow& login_window, platform::SessionState& session,
                    platform::SiteConstants site,
                    std::string machine_code);

    // The set-up after a login, on the watcher's thread; widgets change on the UI thread.
    void Run();

    // What the keep-alive does to this window and session.
    KeepAliveSteps KeepAliveStepsForWindow();

    // Stand-ins for the background loops, for tests; by default the real ones start.
    void SetKeepAliveStarter(std::function<void(KeepAliveSteps, KeepAlivePace)> start) {
        start_keep_alive_ = std::move(start);
    }
    void SetNoticeStarter(std::function<void()> start) { start_notices_ = std::move(start); }
    // One of the keep-alive's 30 waits per pass (one second unless a test shortens it).
    void SetKeepAliveStep(std::chrono::milliseconds step) { keep_alive_pace_.step = step; }

  private:
    void ConnectControls();
    // The platform's answer to a silent re-login with the session's credentials.
    std::string SilentRelogin() const;
    // Loads the page the selector names; the event log gets the rows it then shows.
    void LoadServers();
    // What the account's windows work with, the client title as start-up fetched it.
    account::AccountContext Account() const;
    // What the server operations work with: this site, this session's account and balance.
    servers::ServerOperationContext Operations() const;

    app::MainWindow& window_;
    const MainWindowPages& pages_;
    account::LoginWindow& login_window_;
    platform::SessionState& session_;
    platform::SiteConstants site_;
    std::string machine_code_;
    std::function<void(KeepAliveSteps, KeepAlivePace)> start_keep_alive_;
    std::function<void()> start_notices_;
    KeepAlivePace keep_alive_pace_;
};

}  // namespace vpsdesk::app
