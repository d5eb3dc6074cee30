#pragma once
// A UI-thread wait that another thread can end early: a worker that has finished wakes the
// window's wait at once instead of leaving it to notice at its next round.
#include <chrono>
#include <mutex>

class QEventLoop;

namespace vpsdesk::ui {

class WaitWaker {
  public:
    WaitWaker() = default;
    WaitWaker(const WaitWaker&) = delete;
    WaitWaker& operator=(const WaitWaker&) = delete;

    // UI thread: handles events for up to `most`, or until Wake(). A wake that came before
    // the wait began ends it at once (and is used up by it).
    void WaitPumping(std::chrono::milliseconds most);

    // Any thread: ends the wait under way, or the next one.
    void Wake();

  private:
    std::mutex mutex_;
    QEventLoop* loop_ = nullptr;  // the wait under way, if any
    bool woken_ = false;
};

}  // namespace vpsdesk::ui
