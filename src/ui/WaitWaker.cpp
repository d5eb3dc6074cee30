#include "ui/WaitWaker.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QTimer>

namespace vpsdesk::ui {

void WaitWaker::WaitPumping(std::chrono::milliseconds most) {
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    // As in ui::WaitPumping: a call posted just as this nested loop starts inside another
    // event's handler can miss the dispatcher's wake-up; the heartbeat delivers it.
    QTimer heartbeat;
    heartbeat.setInterval(20);
    QObject::connect(&heartbeat, &QTimer::timeout, &loop,
                     [] { QCoreApplication::sendPostedEvents(); });
    {
        const std::lock_guard lock(mutex_);
        if (woken_) {
            woken_ = false;
            return;
        }
        loop_ = &loop;
    }
    heartbeat.start();
    timer.start(most);
    loop.exec();
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
