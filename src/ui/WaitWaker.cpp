#include "ui/WaitWaker.h"

#include <QEventLoop>
#include <QMetaObject>

#include "ui/Waiting.h"

namespace vpsdesk::ui {

void WaitWaker::WaitPumping(std::chrono::milliseconds most) {
    QEventLoop loop;
    {
        const std::lock_guard lock(mutex_);
        if (woken_) {
            woken_ = false;
            return;
        }
        loop_ = &loop;
    }
    (void)RunLoopFor(loop, most);
    // Cleared before the loop goes, so a late wake never reaches it; a quit it posted and
    // that is still pending goes with the loop.
    const std::lock_guard lock(mutex_);
    loop_ = nullptr;
    woken_ = false;
}

void WaitWaker::Wake() {
    const std::lock_guard lock(mutex_);
    woken_ = true;
    if (loop_ != nullptr) QMetaObject::invokeMethod(loop_, &QEventLoop::quit, Qt::QueuedConnection);
}

}  // namespace vpsdesk::ui
