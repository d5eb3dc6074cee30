#pragma once
// A test hook. With VPSDESK_EVENT_LOG=FILE in the environment the client appends one line
// per milestone ("login-window-shown", "main-window-shown", the rows the server list
// shows, the login result's caption, the connection to the platform lost or back) and per
// message box ("message <text>") to FILE, and its message boxes close themselves at once,
// so that a test or benchmark can drive the real program without a person at the screen.
// Without the variable nothing is written and the boxes wait for the user.
#include <string_view>

class QWidget;

namespace vpsdesk::ui {

bool EventLogEnabled();

// Appends `line` and a line break; does nothing without the hook.
void LogEvent(std::string_view line);

// Logs "`name` <wall-clock ns> <peak RSS kB>" the first time `window` is painted: the
// moment the user first sees it.
void LogFirstPaint(QWidget* window, std::string_view name);

// The plain message box of the client's start-up and exit paths, with the hook applied.
void ShowClientMessage(std::string_view text);

}  // namespace vpsdesk::ui
