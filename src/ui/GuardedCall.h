#pragma once
// A worker's change to a widget that may be gone by the time the UI thread runs it.
#include <QPointer>

#include "ui/UiThread.h"

namespace vpsdesk::ui {

// Runs `change(widget)` on the UI thread if the widget still exists there. False when it
// is gone or the UI thread no longer runs: the worker's work is over either way.
template <class Widget, class Change>
bool OnWidget(const QPointer<Widget>& widget, Change&& change) {
    bool found = false;
    OnUiThread([&] {
        if (widget.isNull()) return;
        found = true;
        change(*widget);
    });
    return found;
}

}  // namespace vpsdesk::ui
