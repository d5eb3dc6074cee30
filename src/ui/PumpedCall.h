#pragma once
// A blocking request made from the UI thread without freezing the window: the request
// runs on a worker while the UI thread goes on handling events until it is back.
#include <atomic>
#include <memory>
#include <utility>

#include "ui/UiThread.h"
#include "ui/Waiting.h"

namespace vpsdesk::ui {

// Calls `fn` (copyable, returning a value) and returns its result. Off the UI thread, or
// when no worker can be started, it is simply called.
template <typename Fn>
auto CallKeepingWindowResponsive(Fn fn) -> decltype(fn()) {
    using Result = decltype(fn());
    if (!ui::isUiThread()) return fn();
    struct State {
        std::atomic<bool> done{false};
        Result result{};
    };
    auto state = std::make_shared<State>();
    const bool started = ui::RunInBackground([state, fn] {
        state->result = fn();
        state->done.store(true, std::memory_order_release);
    });
    if (!started) return fn();
    while (!state->done.load(std::memory_order_acquire))
        ui::WaitPumping(5, ui::WaitUnit::Milliseconds);
    return std::move(state->result);
}

}  // namespace vpsdesk::ui
