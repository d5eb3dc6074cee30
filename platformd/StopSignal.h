#pragma once
// Raised once when the server stops. Waits in request handlers (scripted delays, the
// sign-in throttle) end at once when it is raised, so a stop is not held up by them.
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace platformd {

class StopSignal {
  public:
    void Raise() {
        {
            std::lock_guard lock(mutex_);
            raised_ = true;
        }
        changed_.notify_all();
    }
    // Waits `duration` or until raised; false when raised.
    bool Sleep(std::chrono::milliseconds duration) {
        std::unique_lock lock(mutex_);
        return !changed_.wait_for(lock, duration, [this] { return raised_; });
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool raised_ = false;
};

}  // namespace platformd
