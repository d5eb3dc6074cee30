#pragma once
// A blocking request made from the UI thread without freezing the window: the request
// runs on a worker while the UI thread goes on handling events until it is back.
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include "ui/UiThread.h"
#include "ui/WaitWaker.h"
#include "ui/Waiting.h"

namespace vpsdesk::ui {

template <typename Result>
class PumpedCall {
  public:
    // Starts `fn` (copyable, returning a Result) on a worker. Off the UI thread, or when
    // no worker can be started, it runs here before the constructor returns.
    template <typename Fn>
    explicit PumpedCall(Fn fn) : state_(std::make_shared<State>()) {
        if (ui::IsUiThread() && ui::RunInBackground([state = state_, fn] { state->Finish(fn()); }))
            return;
        state_->Finish(fn());
    }

    // Handles events until the result is back, and returns it. `go_on` is asked before
    // each round of events; when it says no, the wait ends without a result and the worker
    // finishes on its own. The worker's end wakes the wait at once.
    std::optional<Result> Wait(const std::function<bool()>& go_on = {}) {
        while (!state_->done.load(std::memory_order_acquire)) {
            if (go_on && !go_on()) return std::nullopt;
            state_->waker.WaitPumping(kRound);
        }
        return std::move(state_->result);
    }

  private:
    // How often `go_on` is asked.
    static constexpr std::chrono::milliseconds kRound{5};

    // Shared with the worker, which may outlive the wait when the client ends.
    struct State {
        std::atomic<bool> done{false};
        std::optional<Result> result;
        WaitWaker waker;

        void Finish(Result value) {
            result.emplace(std::move(value));
            done.store(true, std::memory_order_release);
            waker.Wake();
        }
    };
    std::shared_ptr<State> state_;
};

// Calls `fn` (copyable, returning a value) keeping the window responsive, and returns its
// result.
template <typename Fn>
auto CallKeepingWindowResponsive(Fn fn) -> decltype(fn()) {
    using Result = decltype(fn());
    return *PumpedCall<Result>(std::move(fn)).Wait();
}

}  // namespace vpsdesk::ui
