#include "app/gui/MainWindowWatcher.h"

#include "app/gui/ExitClient.h"
#include "ui/Waiting.h"

namespace vpsdesk::app {

MainWindowWatcher::MainWindowWatcher(platform::SessionState& session,
                                     std::function<void()> open_main_window,
                                     std::chrono::milliseconds period)
    : session_(session), open_main_window_(std::move(open_main_window)), period_(period) {}

bool MainWindowWatcher::PollOnce() {
    if (session_.sign_in_completed.load() == 0) return false;
    open_main_window_();
    // Cleared after the set-up, so a login that lands meanwhile is not lost: it finds the
    // window already open and the flag is cleared once.
    session_.sign_in_completed = 0;
    return true;
}

void MainWindowWatcher::Run() {
    while (!stopped_.load() && !ClientExiting()) {
        PollOnce();
        ui::WaitPumping(period_.count(), ui::WaitUnit::Milliseconds);
    }
}

void MainWindowWatcher::StartDetached(platform::SessionState& session,
                                      std::function<void()> open_main_window) {
    // Never destroyed: the thread runs until the process ends.
    auto* watcher = new MainWindowWatcher(session, std::move(open_main_window));
    ui::RunInBackground([watcher] { watcher->Run(); });
}

}  // namespace vpsdesk::app
