#pragma once
// The client process from start to end: the toolkit, the site constants and the platform's
// start-up resources, the update check, the login window, the hidden main window and the
// watcher that opens it, then the UI loop.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "platform/SiteConstants.h"

namespace vpsdesk::account {
class LoginWindow;
}
namespace vpsdesk::app {

class MainWindow;
class MainWindowPages;
class MainWindowSetUp;

// The process entry. `updater_image` is the updater program the client carries; it is
// written beside the client at every start. Returns the exit code once the UI loop ends
// (or start-up ends the process); the caller then ends the process with EndProcess.
int StartClient(int& argc, char** argv, std::span<const std::uint8_t> updater_image);

// The windows and values of a running client. Created once by StartClient and never
// destroyed: detached workers refer to it until the process ends.
class ClientApp {
public:
  ClientApp(platform::StartupOptions options, std::span<const std::uint8_t> updater_image);

  // Start-up after the toolkit, up to the UI loop. Returns an exit code when the process
  // is to end instead of entering the loop.
  std::optional<int> Start();

private:
  std::optional<int> CheckForUpdate(const platform::SiteResources& resources);
  void WriteUpdaterSettings() const;
  void PrepareLoginWindow(const platform::SiteResources& resources);
  void CreateMainWindow();

  platform::StartupOptions options_;
  std::span<const std::uint8_t> updater_image_;
  platform::SiteConstants site_;
  std::string machine_code_;
  account::LoginWindow* login_window_ = nullptr;
  app::MainWindow* main_window_ = nullptr;
  MainWindowPages* main_window_pages_ = nullptr;
  MainWindowSetUp* main_window_setup_ = nullptr;
};

}  // namespace vpsdesk::app
