#pragma once
// The toolkit step of start-up: the widget toolkit needs a display. Without one the
// client says so and ends with a non-zero code instead of aborting.
#include <QApplication>
#include <memory>
#include <string_view>

namespace vpsdesk::app {

inline constexpr std::string_view kToolkitFailureMessage = "初始化软件失败! 错误码: ";

// Error codes after the message.
enum ToolkitError : int {
    kNoDisplayNamed = 1,   // no DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM
    kPlatformFailed = 2,   // the display named could not be opened
};

// The application object, or null after the message went to standard error. When the
// platform plugin fails inside Qt the process ends there with exit code 1.
std::unique_ptr<QApplication> OpenToolkit(int& argc, char** argv);

}  // namespace vpsdesk::app
