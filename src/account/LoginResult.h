#pragma once
// What the login window shows for a login reply, and the random delays before it shows
// it. No widgets here: the window plays the outcome.
#include <string>
#include <string_view>

namespace vpsdesk::account {

enum class LoginMode { kManual, kAuto };

// The result indicator's phase after the reply: the values of the shared ProgressState.
enum class ResultPhase : int {
    kNone = 0,     // an unexpected reply: no animation, no caption
    kSuccess = 2,  // frames 26 to 39
    kFailure = 3,  // frames 41 to 49
};

inline constexpr std::string_view kLoginButtonCaption = "登录";
inline constexpr std::string_view kLoggingInCaption = "    正在登录中";
inline constexpr std::string_view kLoginSucceededCaption = "    登录成功";
inline constexpr std::string_view kLoginSuccessCode = "1000";

struct LoginOutcome {
    bool success = false;
    std::string caption;  // the login button's caption while the result shows; may be empty
    ResultPhase phase = ResultPhase::kNone;
};

// The reply is a bare result code and must match exactly: "1000 " is not "1000".
LoginOutcome InterpretLoginReply(std::string_view reply, LoginMode mode);

// Drawn afresh at the start of every login, registration and recovery request.
struct ResultDelays {
    int failure_ms = 0;  // 500 to 3000
    int success_ms = 0;  // 300 to 1300
};

ResultDelays DrawResultDelays();

// How long the window waits before it shows `outcome`: the success or the failure delay,
// or nothing for an unexpected reply.
int DelayBeforeResult(const LoginOutcome& outcome, const ResultDelays& delays);

}  // namespace vpsdesk::account
