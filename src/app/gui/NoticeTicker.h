#pragma once
// The notice line of the main window: the fixed tip, then the platform's notice lines, one
// every 8 seconds, fetched afresh every cycle until the session ends.
#include <chrono>
#include <functional>
#include <string>
#include <string_view>

#include "app/gui/SessionLoop.h"
#include "platform/SessionState.h"
#include "platform/SiteConstants.h"

namespace vpsdesk::app {

inline constexpr std::string_view kNoticeTip =
    "温馨提示：双击列表可以进行快速连接，右键鼠标进行更多选项";

struct NoticeTickerSteps {
    std::function<std::string()> fetch;                 // the notice text; empty on failure
    std::function<void(const std::string&)> show_line;  // the line to show now
};

class NoticeTicker {
  public:
    // Each line stays `steps_per_line` x `step`; session_ended is checked every step.
    NoticeTicker(platform::SessionState& session, NoticeTickerSteps steps,
                 std::chrono::milliseconds step = std::chrono::seconds(1), int steps_per_line = 8);

    // Cycles until session_ended is set, a newer ticker starts or the client exits.
    void Run();

  private:
    bool Retired() const;
    bool WaitLine() const;  // false when retired during the wait

    platform::SessionState& session_;
    NoticeTickerSteps steps_;
    std::chrono::milliseconds step_;
    int steps_per_line_;
    SessionLoop loop_;
};

// The client's ticker on a detached thread, fetching command "gg". `show_line` runs on the
// UI thread (the ticker waits for it), so it may set a label directly. Starting one
// retires the previous one.
void StartNoticeTicker(platform::SessionState& session, const platform::SiteConstants& site,
                       std::function<void(const std::string&)> show_line);

}  // namespace vpsdesk::app
