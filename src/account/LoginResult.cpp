#include "account/LoginResult.h"

#include <random>

namespace vpsdesk::account {

LoginOutcome InterpretLoginReply(std::string_view reply, LoginMode mode) {
    if (reply == kLoginSuccessCode)
        return {true, std::string(kLoginSucceededCaption), ResultPhase::kSuccess};
    std::string_view caption;
    if (reply == "1001") {
        caption =
            mode == LoginMode::kManual ? "           用户或密码不正确" : "           自动登录失效";
    } else if (reply == "1003") {
        caption = "    登录次数过多";
    } else if (reply == "1002") {
        caption = "    验证码错误";
    } else if (reply.empty()) {
        caption = "    网络链接失败";
    } else if (reply == "500") {
        caption = "    平台维护中";
    } else {
        return {false, {}, ResultPhase::kNone};
    }
    return {false, std::string(caption), ResultPhase::kFailure};
}

ResultDelays DrawResultDelays() {
    thread_local std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<int> failure(500, 3000);
    std::uniform_int_distribution<int> success(300, 1300);
    ResultDelays delays;
    delays.failure_ms = failure(generator);
    delays.success_ms = success(generator);
    return delays;
}

int DelayBeforeResult(const LoginOutcome& outcome, const ResultDelays& delays) {
    switch (outcome.phase) {
        case ResultPhase::kSuccess:
            return delays.success_ms;
        case ResultPhase::kFailure:
            return delays.failure_ms;
        case ResultPhase::kNone:
            break;
    }
    return 0;
}

}  // namespace vpsdesk::account
