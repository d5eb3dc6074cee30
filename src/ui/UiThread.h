#pragma once
// Widgets belong to the UI thread (the thread that created the QApplication). Workers
// change them only through onUiThread, which runs the change there and waits for it, so a
// later read by the same worker sees the change.
#include <functional>

namespace vpsdesk::ui {

// True on the thread that owns the running application's widgets.
bool IsUiThread();

// Runs `fn` on the UI thread and returns once it has run. On the UI thread itself `fn`
// runs inline (a blocking queued call from there would wait for itself).
//
// Returns false, without running `fn`, when there is no application, or when the
// application's main loop has ended or the application is being destroyed: a worker that
// asks for a widget change during shut-down must not wait for a loop that will never run
// again. Calls already waiting at that moment are released the same way.
bool OnUiThread(const std::function<void()>& fn);

}  // namespace vpsdesk::ui
