#include "ui/Waiting.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <limits>
#include <system_error>
#include <thread>

#include "ui/UiThread.h"

namespace vpsdesk::ui {
namespace {

std::int64_t UnitLength(WaitUnit unit) {
    switch (unit) {
        case WaitUnit::Seconds: return 1000;
        case WaitUnit::Minutes: return 60 * 1000;
        case WaitUnit::Hours: return 60 * 60 * 1000;
        case WaitUnit::Milliseconds: break;
    }
    return 1;
}

// QTimer counts in int milliseconds, so long waits go in pieces of a day.
constexpr std::chrono::milliseconds kLongestPiece = std::chrono::hours(24);

// False when the loop ended before its timer, i.e. the application is quitting.
bool PumpFor(std::chrono::milliseconds piece) {
    QEventLoop loop;
    return RunLoopFor(loop, piece);
}

}  // namespace

std::chrono::milliseconds WaitDuration(std::int64_t amount, WaitUnit unit) {
    if (amount <= 0) return std::chrono::milliseconds(0);
    const std::int64_t length = UnitLength(unit);
    const std::int64_t most = std::numeric_limits<std::int64_t>::max() / length;
    return std::chrono::milliseconds(amount > most ? std::numeric_limits<std::int64_t>::max()
                                                   : amount * length);
}

bool WaitPumping(std::int64_t amount, WaitUnit unit) {
    auto remaining = WaitDuration(amount, unit);
    if (!IsUiThread()) {
        while (remaining.count() > 0) {
            const auto piece = std::min(remaining, kLongestPiece);
            std::this_thread::sleep_for(piece);
            remaining -= piece;
        }
        return true;
    }
    if (remaining.count() == 0) {
        QCoreApplication::processEvents();
        return true;
    }
    while (remaining.count() > 0) {
        const auto piece = std::min(remaining, kLongestPiece);
        if (!PumpFor(piece)) return false;
        remaining -= piece;
    }
    return true;
}

bool RunLoopFor(QEventLoop& loop, std::chrono::milliseconds most) {
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    // A call posted by a worker just as this nested loop starts inside another event's
    // handler can miss the dispatcher's wake-up and wait for the whole piece; a short
    // heartbeat delivers such calls within a moment.
    QTimer heartbeat;
    heartbeat.setInterval(20);
    QObject::connect(&heartbeat, &QTimer::timeout, &loop,
                     [] { QCoreApplication::sendPostedEvents(); });
    heartbeat.start();
    timer.start(most);
    loop.exec();
    return !timer.isActive();
}

bool RunInBackground(std::function<void()> routine) {
    if (!routine) return false;
    try {
        std::thread(std::move(routine)).detach();
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

}  // namespace vpsdesk::ui
