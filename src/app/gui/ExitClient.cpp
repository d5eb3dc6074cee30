#include "app/gui/ExitClient.h"

#include <QCoreApplication>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "net/WebRequest.h"
#include "ui/UiThread.h"

namespace vpsdesk::app {
namespace {

struct ExitState {
    std::atomic<bool> exiting{false};
    std::atomic<int> code{0};
    std::mutex mutex;
    std::vector<std::function<void()>> hooks;
};

// Never destroyed: workers may ask while the process ends.
ExitState& State() {
    static ExitState* state = new ExitState;
    return *state;
}

}  // namespace

void AtClientExit(std::function<void()> hook) {
    std::lock_guard lock(State().mutex);
    State().hooks.push_back(std::move(hook));
}

void ExitClient(int code) {
    ExitState& state = State();
    if (state.exiting.exchange(true)) return;
    state.code = code;
    // First, so that a worker stuck in a slow request lets go before anything else.
    net::CancelAllRequests();
    ui::OnUiThread([&state, code] {
        std::vector<std::function<void()>> hooks;
        {
            std::lock_guard lock(state.mutex);
            hooks.swap(state.hooks);
        }
        for (auto& hook : hooks) hook();
        // Ends nested loops (a wait, a message box) as well as the main one.
        QCoreApplication::exit(code);
    });
}

bool ClientExiting() { return State().exiting.load(); }

int ClientExitCode() { return State().code.load(); }

void EndProcess(int code) {
    std::fflush(nullptr);
    std::_Exit(code);
}

}  // namespace vpsdesk::app
