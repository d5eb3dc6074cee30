#pragma once
// The message boxes. Every function may be called from any thread: the box is shown on
// the UI thread and the caller waits until it is closed. When the application is shutting
// down nothing is shown and the result is NotShown.
#include <string_view>

class QWidget;

namespace vpsdesk::ui {

enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageResult { NotShown, Ok, Cancel, Yes, No, TimedOut };

inline constexpr int kSelfClosingDelay = 5000;

// The plain system box with an OK button, for validation and fatal problems.
MessageResult ShowPlainMessage(std::string_view text, std::string_view title = {},
                               QWidget* owner = nullptr);

// The skinned box with a title ("提示" for notices, "错误" for errors); returns the button
// pressed. Escape gives Cancel or No where there is one, else Ok.
MessageResult ShowMessage(std::string_view text, std::string_view title,
                          MessageIcon icon = MessageIcon::None,
                          MessageButtons buttons = MessageButtons::Ok, QWidget* owner = nullptr);

// A box with an OK button that closes itself after `milliseconds`; TimedOut when nobody
// pressed OK first.
MessageResult ShowSelfClosingMessage(std::string_view text, std::string_view title,
                                     int milliseconds = kSelfClosingDelay,
                                     QWidget* owner = nullptr);

// Without an explicit owner a box belongs to the active window, else to the first visible
// top-level window of the process, else to none. UI thread only.
QWidget* DefaultMessageOwner();

}  // namespace vpsdesk::ui
