#pragma once
// The two services every loop and delay uses: a wait that keeps the calling thread's
// windows responsive, and starting a routine on its own thread.
#include <chrono>
#include <cstdint>
#include <functional>

class QEventLoop;

namespace vpsdesk::ui {

enum class WaitUnit { Milliseconds = 0, Seconds = 1, Minutes = 2, Hours = 3 };

// amount x unit; a negative amount is no wait, and an amount too large saturates instead of
// wrapping. A value outside the four units counts as milliseconds.
std::chrono::milliseconds WaitDuration(std::int64_t amount, WaitUnit unit);

// On the UI thread: runs a nested event loop for the duration, so timers, repaints and
// input go on (a wait of zero just handles what is pending). The wait ends early when the
// application is told to quit, and from then on every wait returns at once with false: no
// timer fires any more, so a loop that waits for one must stop on it. On any other thread:
// sleeps, and returns true.
bool WaitPumping(std::int64_t amount, WaitUnit unit);

// UI thread: runs `loop` for at most `most`. False when the loop ended before its time,
// because something quit it (the application, or whoever else holds the loop).
bool RunLoopFor(QEventLoop& loop, std::chrono::milliseconds most);

// Starts `routine` on a new detached thread and returns at once; false when no thread
// could be started (the routine then does not run).
bool RunInBackground(std::function<void()> routine);

}  // namespace vpsdesk::ui
