#pragma once
// Recovering a password from the login window: the recovery form's request with its
// hand-made header block, and what each reply leads to. No widgets here.
#include <string>
#include <string_view>

#include "account/LoginResult.h"
#include "platform/SiteConstants.h"

namespace vpsdesk::account {

inline constexpr std::string_view kRecoveryAccountHint = "用户名/账号";
inline constexpr std::string_view kRecoveryMobileHint = "手机号码";
inline constexpr std::string_view kRecoverCaption = "找回密码";
inline constexpr std::string_view kRecoveringCaption = "    正在发送";
inline constexpr std::string_view kRecoveryWebPagePath = "/user/findpwd/index.html";

// The header block, in the form's order; `body_bytes` is the GBK body's length.
std::string RecoveryHeaders(const platform::SiteConstants& site, std::size_t body_bytes);

// POST /page/GetPasswd/GetPasswd with "username" and "mobi" through the second request
// engine: the reply as text (a bare result code), empty when the request failed.
std::string RecoverPassword(const platform::SiteConstants& site, std::string_view account,
                            std::string_view mobile);

struct RecoveryOutcome {
    bool success = false;
    ResultPhase phase = ResultPhase::kFailure;
    std::string caption;
    bool operator==(const RecoveryOutcome&) const = default;
};

// "1000" succeeds, "1015" does not match; anything else, empty included, failed.
RecoveryOutcome InterpretRecoveryReply(std::string_view reply);

}  // namespace vpsdesk::account
