#pragma once
// Keeps a sign-in alive: every 30 seconds a silent re-login and a fresh user name. Two
// empty user names in a row mean the platform no longer knows us; the client then tells
// the user and ends.
#include <chrono>
#include <functional>
#include <string>
#include <string_view>

#include "app/SessionState.h"
#include "app/gui/SessionLoop.h"

namespace vpsdesk::app {

inline constexpr std::string_view kSessionLostMessage = "网络连接失败，请重新登录！";

// What one pass does, so tests can stand in for the platform and the windows.
struct KeepAliveSteps {
    std::function<std::string()> relogin;         // the reply; "1000" keeps the loop going
    std::function<std::string()> fetch_user_name;
    std::function<void(const std::string&)> show_user_name;  // a non-empty name; optional
    std::function<void()> refresh_profile;        // after a non-empty name; optional
    std::function<void()> refresh_list;           // after each full wait; optional
    std::function<void()> give_up;                // two empty names in a row
};

// The user-name request: GET /user/data/usernmae, "data.username" of the JSON reply
// ("JSON解析失败" when the reply is not JSON, an empty reply included).
std::string FetchUserName();

class SessionKeepAlive {
public:
    SessionKeepAlive(SessionState& session, KeepAliveSteps steps,
                     std::chrono::milliseconds step = std::chrono::seconds(1), int steps_per_pass = 30);

    // Passes until session_ended is set, a newer keep-alive starts, the names run out or
    // the client exits.
    void Run();

    // The client's loop for the signed-in user, on a detached thread. Starting one retires
    // the previous one, even if it is still inside a request when the new sign-in clears
    // session_ended. `step` is the length of one of the 30 waits of a pass.
    static void StartDetached(SessionState& session, KeepAliveSteps steps,
                              std::chrono::milliseconds step = std::chrono::seconds(1));

private:
    bool Retired() const;

    SessionState& session_;
    KeepAliveSteps steps_;
    std::chrono::milliseconds step_;
    int steps_per_pass_;
    SessionLoop loop_;
};

}  // namespace vpsdesk::app
