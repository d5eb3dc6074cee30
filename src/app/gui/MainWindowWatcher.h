#pragma once
// Opens the main window after each successful login. A login sets the session's
// sign_in_completed flag; the watcher polls it for the life of the process and runs the
// main-window set-up on its own thread each time it finds it set.
#include <atomic>
#include <chrono>
#include <functional>

#include "platform/SessionState.h"

namespace vpsdesk::app {

class MainWindowWatcher {
public:
    // `open_main_window` is the set-up; it runs on the watcher's thread and changes widgets
    // through the UI thread.
  MainWindowWatcher(platform::SessionState& session, std::function<void()> open_main_window,
                    std::chrono::milliseconds period = std::chrono::seconds(1));

  // One look at the flag: runs the set-up, then clears the flag. True when it ran.
  bool PollOnce();
  // Polls every period until Stop() (never, in the client) or the client exits.
  void Run();
  void Stop() { stopped_ = true; }

  // The client's watcher: started on a detached thread, alive until the process ends.
  static void StartDetached(platform::SessionState& session,
                            std::function<void()> open_main_window);

private:
  platform::SessionState& session_;
  std::function<void()> open_main_window_;
  std::chrono::milliseconds period_;
  std::atomic<bool> stopped_{false};
};

}  // namespace vpsdesk::app
