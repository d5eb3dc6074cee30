#pragma once
// Keeps a sign-in alive: every 30 seconds a silent re-login and a fresh user name. Two
// empty user names in a row mean the platform no longer knows us; the client then tells
// the user and ends.
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "app/gui/SessionLoop.h"
#include "platform/SessionState.h"

namespace vpsdesk::app {

inline constexpr std::string_view kSessionLostMessage = "网络连接失败，请重新登录！";

// What one pass does, so tests can stand in for the platform and the windows.
struct KeepAliveSteps {
    // The reply: "1000" keeps the loop going, another code ends it after this pass, and
    // no reply at all (the platform unreachable) keeps it trying.
    std::function<std::string()> relogin;
    // nullopt when the platform gave no readable answer.
    std::function<std::optional<std::string>()> fetch_user_name;
    std::function<void(const std::string&)> show_user_name;  // a non-empty name; optional
    // Each pass: whether the platform answered the name request; optional.
    std::function<void(bool)> show_connection;
    std::function<void()> refresh_profile;        // after a non-empty name; optional
    std::function<void()> refresh_list;           // after each full wait; optional
    std::function<void()> give_up;                // two empty names in a row
};

// How long a pass waits: `steps_per_pass` waits of `step`, 30 seconds in all unless a
// test shortens the step.
struct KeepAlivePace {
    std::chrono::milliseconds step{std::chrono::seconds(1)};
    int steps_per_pass = 30;
    std::chrono::milliseconds Pass() const { return step * steps_per_pass; }
};

class SessionKeepAlive {
public:
  SessionKeepAlive(platform::SessionState& session, KeepAliveSteps steps, KeepAlivePace pace = {});

  // Passes until session_ended is set, a newer keep-alive starts, the names run out or
  // the client exits.
  void Run();

  // The client's loop for the signed-in user, on a detached thread. Starting one retires
  // the previous one, even if it is still inside a request when the new sign-in clears
  // session_ended.
  static void StartDetached(platform::SessionState& session, KeepAliveSteps steps,
                            KeepAlivePace pace = {});

private:
    bool Retired() const;

    platform::SessionState& session_;
    KeepAliveSteps steps_;
    KeepAlivePace pace_;
    unsigned customer_;  // the customer this loop was started for
    SessionLoop loop_;
};

}  // namespace vpsdesk::app
